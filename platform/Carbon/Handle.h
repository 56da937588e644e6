// SPDX-License-Identifier: MIT
#pragma once

// A handle is a pointer to a pointer to a relocatable block. Ours never moves, but keeps the
// block's size beside it so GetHandleSize can answer.
typedef char** Handle;

// A new handle of `size` bytes, zero-filled; null when size is negative or memory runs out.
Handle NewHandle(long size);
// The size of the handle's block; 0 for a null handle.
long GetHandleSize(Handle h);
// Frees the handle and its block; a null handle is ignored.
void DisposeHandle(Handle h);
