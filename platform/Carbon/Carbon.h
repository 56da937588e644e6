// SPDX-License-Identifier: MIT
// The Carbon calls the toolkit makes: memory handles, Pascal strings and file writes.
#pragma once

#include "platform/Carbon/FSWrite.h"
#include "platform/Carbon/Handle.h"
#include "platform/Carbon/PascalString.h"
