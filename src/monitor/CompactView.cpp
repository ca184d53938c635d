#include "monitor/CompactView.h"

#include "link/Commands.h"
#include "link/KeyMap.h"
#include "link/ScannerLink.h"
#include "monitor/CompactDisplay.h"
#include "monitor/MainDisplay.h"

namespace vexlor::monitor {

namespace {
constexpr int kNotInUse = 0;
constexpr int kPopUp = 1;
constexpr int kAlwaysShown = 2;
} // namespace

CompactView::CompactView(CompactDisplay& compact, const MainDisplay& main, link::ScannerLink& link,
                         QObject* parent)
    : QObject(parent), m_compact(compact), m_main(main), m_link(link)
{
}

void CompactView::SmartViewMode()
{
    auto& c = m_compact.s;
    const auto& d = m_main.s;
    Q_EMIT trayIconAdded(QStringLiteral("Vexlor"));
    Q_EMIT mainWindowShown(false);
    c.shown = true;
    m_link.Write(link::cmd::kSQ);

    const QString name = d.NameLbl.trimmed();
    c.NameLbl = name.isEmpty() ? d.FrequencyBox : name;
    c.TypeLbl = d.TypeLbl.trimmed();
    c.IDTypeLbl = d.IDTypeLbl;
    c.IDNameLbl = d.IDNameLbl.isEmpty() ? d.IDbox : d.IDNameLbl;
    // Only ever made visible here; the next squelch close or call end hides them.
    if (d.SQopen)
        c.NameLblVisible = c.TypeLblVisible = true;
    if (d.IDListen)
        c.IDNameLblVisible = c.IDTypeLblVisible = true;

    if (c.CompactViewMode == kPopUp)
        c.shown = false; // waits for activity
    else
        c.CompactViewMode = kAlwaysShown;
    c.ModeLbl = d.ModeLbl;
    c.caption = d.ModeLbl;
    m_compact.publish();
}

void CompactView::PopUpSmartViewMode()
{
    m_compact.s.CompactViewMode = kPopUp;
    SmartViewMode();
}

void CompactView::ScanCmd_Click() { m_link.Write(link::cmd::key(0)); }
void CompactView::ManCmd_Click() { m_link.Write(link::cmd::key(1)); }
// The view's search key is L/O's number, unlike the main window's search commands.
void CompactView::SearchCmd_Click() { m_link.Write(link::cmd::key(6)); }
void CompactView::HoldCmd_Click() { m_link.Write(link::cmd::key(7)); }
void CompactView::KeypadCmd_Click() { Q_EMIT keypadRequested(); }

void CompactView::PopUpLbl_Click()
{
    m_compact.s.shown = false;
    m_compact.s.CompactViewMode = kPopUp;
    m_compact.publish();
}

CompactView::Key CompactView::keyFor(QChar typed)
{
    if (typed == link::kEscape || typed == QLatin1Char(' '))
        return {Key::Action::Close, {}};
    if (typed.unicode() <= 127) {
        const QChar c = typed.toUpper();
        if (c == QLatin1Char('K'))
            return {Key::Action::Keypad, {}};
        if (c == QLatin1Char('U'))
            return {Key::Action::PopUp, {}};
    }
    const auto key = link::keypadKeyFor(typed);
    if (!key)
        return {Key::Action::None, {}};
    return {Key::Action::Send, link::commandFor(*key)};
}

void CompactView::KeyPress(const Key& key)
{
    switch (key.action) {
    case Key::Action::Close: closeView(); break;
    case Key::Action::Keypad: KeypadCmd_Click(); break;
    case Key::Action::PopUp: PopUpLbl_Click(); break;
    case Key::Action::Send:
        if (!key.command.isEmpty())
            m_link.Write(key.command);
        break;
    case Key::Action::None: break;
    }
}

void CompactView::closeView()
{
    Q_EMIT trayIconRemoved();
    Q_EMIT mainWindowShown(true);
    m_compact.s.CompactViewMode = kNotInUse;
    m_compact.s.shown = false;
    m_compact.publish();
}

void CompactView::trayDoubleClick()
{
    m_compact.s.CompactViewMode = kNotInUse;
    m_compact.s.shown = true;
    m_compact.publish();
    Q_EMIT raiseRequested();
}

} // namespace vexlor::monitor

#include "moc_CompactView.cpp"
