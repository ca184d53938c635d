#pragma once
// Cells as QtTest data, declared once for every test of the folder that needs
// it: the tests of a folder may compile as one unit.
#include "memory/Cell.h"

#include <QMetaType>

Q_DECLARE_METATYPE(vexlor::memory::Cell)
