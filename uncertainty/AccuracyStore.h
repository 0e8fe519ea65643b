#pragma once

#include "uncertainty/AccuracySettings.h"

class QSettings;

// The accuracy the operator entered, remembered between runs in the group
// "Accuracy" of the program's settings. A missing or unreadable value reads
// as its default.

namespace gasmixer {

TAccuracySettings LoadAccuracy(QSettings& settings);
void SaveAccuracy(QSettings& settings, const TAccuracySettings& accuracy);

// The program's own settings file: $XDG_CONFIG_HOME/gasmixer/gasmixer.conf.
TAccuracySettings LoadRememberedAccuracy();
void RememberAccuracy(const TAccuracySettings& accuracy);

}  // namespace gasmixer
