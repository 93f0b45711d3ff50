// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// For the POSIX parts of the platform only: a `FileIdentity` from a status already read.

#include "FileIdentity.h"

#include <sys/stat.h>

FileIdentity identityOfStatus(const struct stat &st);
