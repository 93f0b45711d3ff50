// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

/// The terminal the command-line tool's standard error may be: whether it is one (then the
/// progress bar is drawn and redrawn in place), and how wide it is. The portable room knows
/// no terminal, and the tool writes plain lines.
namespace Terminal {

/// Whether standard error is a terminal.
bool stderrIsTerminal();

/// The width of standard error's terminal in characters; 80 when it cannot tell, or when the
/// width is too narrow for a bar (20 or less).
int stderrColumns();

} // namespace Terminal
