// SPDX-License-Identifier: MIT
// corvanta-menu --chart FILE: the chart window drawn off screen into a PNG, and one line per
// chart on standard output ("NAME: FIRST_DAY FIRST_RATE .. LAST_DAY LAST_RATE (N days)").
#pragma once

#include <optional>
#include <ostream>
#include <string>

// Needs a QApplication. The rates per `base` (else the stored base, the dollar where the site
// lacks it); a base given that the site does not offer is an error on `errors`, exit code 2. 1
// when the picture cannot be written.
int DrawChartPicture(const std::string& file, const std::optional<std::string>& base,
                     std::ostream& out, std::ostream& errors);
