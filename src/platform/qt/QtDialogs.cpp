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
    }
    switch (box.exec()) {
    case QMessageBox::Yes: return Button::Yes;
    case QMessageBox::No: return Button::No;
    case QMessageBox::Cancel: return Button::Cancel;
    default:
        // Closing a Yes/No box by its frame counts as No.
        return m.buttons == Buttons::YesNo ? Button::No : (m.buttons == Buttons::Ok ? Button::Ok : Button::Cancel);
    }
}

std::optional<QString> QtDialogs::openFile(const QString& title, const QString& filter)
{
    const QString f = QFileDialog::getOpenFileName(m_parent, title, QString(), filter);
    if (f.isEmpty())
        return std::nullopt;
    return f;
}

std::optional<QString> QtDialogs::saveFile(const QString& title, const QString& filter)
{
    const QString f = QFileDialog::getSaveFileName(m_parent, title, QString(), filter);
    if (f.isEmpty())
        return std::nullopt;
    return f;
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
