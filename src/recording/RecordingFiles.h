#pragma once

#include "platform/AudioFileWriter.h"
#include "recording/Recorder.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

// Where recordings go and what they are called: recordings/YYYY-MM-DD/HHMMSS_<channel or
// frequency>[_<talkgroup>].<extension> under the data folder, the names in the tags.
namespace vexlor::recording::files {

// "2026-12-11/071503_Ch12_002032.flac", relative to the recordings folder.
QString relativeName(const Heard& heard, const QString& extension);
platform::AudioFileWriter::Tags tags(const Heard& heard);
// The name itself when free, else the first of name_2, name_3, ... that is.
QString freeName(const QString& path);

// The recordings under folder, oldest first (their names sort by time).
QStringList recordings(const QString& folder);

// Removes the oldest recordings until the rest take at most limitBytes, and any
// from before maxAgeDays days before today (0: no such limit), never `spare` (the
// newest, just written). The removed ones, relative to folder; emptied day folders go too.
QStringList prune(const QString& folder, qint64 limitBytes, int maxAgeDays, const QDate& today, const QString& spare = {});

} // namespace vexlor::recording::files
