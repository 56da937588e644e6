// SPDX-License-Identifier: MIT
// Converts between CoreFoundation values and libplist nodes, for the preference files.
#pragma once

#include "platform/CoreFoundation/CFBase.h"
#include "platform/CoreFoundation/PropertyListFile.h"

#include <string>

// A new CF value for a node, which is left unchanged: booleans and texts become CFBoolean and
// CFString, anything else (and a text that is not valid UTF-8) an opaque value holding a copy.
// The caller releases it. Null for a null node.
CFPropertyListRef CFPropertyListCreateFromNode(plist_t node);

// A new node for a value, or null when the files cannot hold it: a value of another type, or a
// text with a zero byte in it.
PlistPtr CFPropertyListCreateNode(CFPropertyListRef value);

// The XML document of `node` and everything under it; empty for a null node.
std::string CFPropertyListNodeXml(plist_t node);
