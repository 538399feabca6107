#pragma once

#include "boxroot.h"
#include "shelloutput.h"

#include <QStringList>

// The flash writer the program uploads to the box (mtd-utils' flashcp):
// erases, writes and verifies a partition file of the root from an image
// file, with flashcp's own progress lines and error texts. Returns the exit
// status.
int runFlashWriter(const BoxRoot &root, const QStringList &arguments, ShellOutputs &output);
