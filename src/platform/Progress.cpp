// SPDX-License-Identifier: GPL-3.0-or-later
#include "Progress.h"

Progress::~Progress() = default;
