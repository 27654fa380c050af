// The installer's version, shown in the dialog's caption and the log.
#pragma once

constexpr int kVersionMajor = 1;
constexpr int kVersionMinor = 4;
