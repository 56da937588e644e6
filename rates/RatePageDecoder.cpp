// SPDX-License-Identifier: MIT
#include "rates/RatePage.h"

#include "platform/Foundation/NSString.h"

std::optional<std::string> DecodeRatePage(std::string_view data) {
    if (auto text = NSString::initWithData(data, NSUTF8StringEncoding)) return text;
    return NSString::initWithData(data, NSMacOSRomanStringEncoding);
}
