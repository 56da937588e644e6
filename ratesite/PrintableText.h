// Text from the network made safe for one log line: quoted, control bytes and quotes escaped,
// and cut short when long.
#pragma once

#include <string>
#include <string_view>

std::string PrintableText(std::string_view text);
