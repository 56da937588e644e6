// SPDX-License-Identifier: MIT
// Text from the network made safe for one log line: quoted and escaped as QuotedText does, and
// cut short when long.
#pragma once

#include <string>
#include <string_view>

std::string PrintableText(std::string_view text);
