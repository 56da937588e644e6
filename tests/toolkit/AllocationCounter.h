// SPDX-License-Identifier: MIT
// Counts the calls of the global allocation functions of this test program, which replaces them.
#pragma once

#include <cstddef>

namespace allocation_counter {

// The number of global operator new calls (every form) since the program started.
std::size_t count();

} // namespace allocation_counter
