#include "platform/qt/QtDialogs.h"

#include <QFileDialog>
#include <QFontDialog>
#include <QMessageBox>

namespace vexlor::platform {

Dialogs::Button QtDialogs::message(const Message& m)
{
    QMessageBox box(m_parent);
    box.setText(m.text);
    box.setWindowTitle(m.title.isEmpty() ? programTitle() : m.title);
    if (!m.informative.isEmpty())
        box.setInformativeText(m.informative);
    switch (m.icon) {
    case Icon::None: box.setIcon(QMessageBox::NoIcon); break;
    case Icon::Information: box.setIcon(QMessageBox::Information); break;
    case Icon::Warning: box.setIcon(QMessageBox::Warning); break;
    case Icon::Question: box.setIcon(QMessageBox::Question); break;
    case Icon::Critical: box.setIcon(QMessageBox::Critical); break;
    }
    switch (m.buttons) {
    case Buttons::Ok: box.setStandardButtons(QMessageBox::Ok); break;
    case Buttons::OkCancel: box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel); break;
    case Buttons::YesNo: box.setStandardButtons(QMessageBox::Yes | QMessageBox::No); break;
    case Buttons::YesNoCancel:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        break;
    case Buttons::SaveDiscardCancel:
        box.setStandardButtons(QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel);
        box.setDefaultButton(QMessageBox::Save);
        break;
    }
    switch (box.exec()) {
    case QMessageBox::Yes:
    case QMessageBox::Save: return Button::Yes;
    case QMessageBox::No:
    case QMessageBox::Discard: return Button::No;
    case QMessageBox::Cancel: return Button::Cancel;
    default:
        // Closing a Yes/No box by its frame counts as No.
        return m.buttons == Buttons::YesNo ? Button::No : (m.buttons == Buttons::Ok ? Button::Ok : Button::Cancel);
    }
}

namespace {

// "Text Files (*.txt)|*.txt" pairs as QFileDialog's name filters. "*.*"
// becomes "*": here it would hide every file without a dot in its name.
QStringList nameFilters(const QString& filter)
{
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList out;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString description = parts[i];
        const qsizetype bracket = description.indexOf(QLatin1Char('('));
        if (bracket >= 0)
            description = description.left(bracket).trimmed();
        QString pattern = parts[i + 1];
        pattern.replace(QLatin1String("*.*"), QLatin1String("*"));
        pattern.replace(QLatin1Char(';'), QLatin1Char(' '));
        out << QStringLiteral("%1 (%2)").arg(description, pattern);
    }
    return out;
}

} // namespace

std::optional<QString> QtDialogs::openFile(const FileRequest& request)
{
    QFileDialog dialog(m_parent, request.title);
    // A new name means a file to write: a save dialog, which asks before replacing one.
    dialog.setAcceptMode(request.newName ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(request.newName ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    const QStringList filters = nameFilters(request.filter);
    if (!filters.isEmpty()) {
        dialog.setNameFilters(filters);
        dialog.selectNameFilter(filters.value(request.filterIndex - 1, filters.first()));
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().first();
}

std::optional<QFont> QtDialogs::chooseFont(const QFont& initial)
{
    bool ok = false;
    const QFont f = QFontDialog::getFont(&ok, initial, m_parent);
    if (!ok)
        return std::nullopt;
    return f;
}

} // namespace vexlor::platform
