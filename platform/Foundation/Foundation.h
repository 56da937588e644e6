// SPDX-License-Identifier: MIT
// The Foundation stand-ins: NSLog, URL loading, text decoding and search.
#pragma once

#include "platform/Foundation/CaseFoldedText.h"
#include "platform/Foundation/NSLog.h"
#include "platform/Foundation/NSString.h"
#include "platform/Foundation/NSURL.h"
#include "platform/Foundation/NSURLHandle.h"
