// SPDX-License-Identifier: MIT
#pragma once

// Programs that run other programs on a pseudo-terminal: terminal emulators, and editors or IDEs
// with a terminal panel. Ctrl+C typed into such a window can reach the program running on the
// terminal and interrupt it, whatever the window's class says. The program that drives a
// pseudo-terminal holds its master side, opened from /dev/ptmx.

// Whether the process `pid` holds a pseudo-terminal master open. False when that cannot be told
// (no such process, another user's process whose descriptors are not ours to read, pid <= 0).
bool holdsPseudoTerminalMaster(long pid);
