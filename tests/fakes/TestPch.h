// What most tests include, compiled once per build tree for every test program.
#pragma once
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QList>
#include <QObject>
#include <QSignalSpy>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QWidget>

#include <algorithm>
#include <functional>
#include <memory>
#include <optional>
