#pragma once

#include <QList>

class QAction;

namespace ui {

// Menu captions are declared without access-key marks; the keys are given
// out here instead, level by level: each visible item takes the first
// character of its caption whose capital is an ASCII letter or digit not yet
// taken on that level (accented letters never qualify).
void assignAccessKeys(const QList<QAction *> &level);

} // namespace ui
