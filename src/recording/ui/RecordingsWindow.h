#pragma once

#include <QDialog>

class QDateEdit;
class QLabel;
class QLineEdit;
class QTableView;

namespace vexlor::recording {

class RecordingList;

// "Recordings": renders a RecordingList; each event is one call on it.
class RecordingsWindow : public QDialog {
    Q_OBJECT
public:
    explicit RecordingsWindow(RecordingList& list, QWidget* parent = nullptr);

private:
    QDateEdit* dateBox(const char* name, void (RecordingList::*changed)(const QDate&));
    int currentRow() const;

    RecordingList& m_list;
    QLineEdit* m_filter;
    QTableView* m_grid;
    QLabel* m_status;
};

} // namespace vexlor::recording
