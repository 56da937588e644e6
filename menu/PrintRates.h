// corvanta-menu --print: one fetch, and the menu's texts on standard output.
#pragma once

#include <optional>
#include <ostream>
#include <string>

// Writes the header and then each currency line, one per line, as the menu would show them
// with `amount` selected; or only the switched-off line when "On" is false. Returns the exit
// code.
int PrintRates(const std::optional<std::string>& amount, std::ostream& out);
