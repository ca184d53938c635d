#include "app/ui/MainDisplayView.h"

#include "app/ui/CenterTuningScale.h"
#include "app/ui/LampLabel.h"
#include "app/ui/MainWindow.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>

namespace vexlor::app {

MainDisplayView::MainDisplayView(MainWindow& window, monitor::MainDisplay& display)
    : m_window(window), m_display(display)
{
    connect(&m_display, &monitor::MainDisplay::changed, this, &MainDisplayView::render);
    render();
}

void MainDisplayView::text(const char* name, const QString& value, const QString* old)
{
    if (old && *old == value)
        return;
    QWidget* w = m_window.control(QLatin1String(name));
    if (auto* label = qobject_cast<QLabel*>(w))
        label->setText(value);
    else if (auto* edit = qobject_cast<QLineEdit*>(w))
        edit->setText(value);
}

void MainDisplayView::visible(const char* name, bool value)
{
    if (QWidget* w = m_window.control(QLatin1String(name)))
        w->setVisible(value);
}

void MainDisplayView::checked(const char* name, bool value)
{
    if (QAction* a = m_window.action(QLatin1String(name)))
        a->setChecked(value);
}

void MainDisplayView::render()
{
    const monitor::MainDisplayState& s = m_display.published();
    const monitor::MainDisplayState* o = m_shown ? &*m_shown : nullptr;
    auto old = [o](QString monitor::MainDisplayState::*field) { return o ? &(o->*field) : nullptr; };
    using S = monitor::MainDisplayState;

    text("ModeLbl", s.ModeLbl, old(&S::ModeLbl));
    text("FrequencyBox", s.FrequencyBox, old(&S::FrequencyBox));
    text("ChLbl", s.ChLbl, old(&S::ChLbl));
    text("NameLbl", s.NameLbl, old(&S::NameLbl));
    text("TypeLbl", s.TypeLbl, old(&S::TypeLbl));
    text("IDbox", s.IDbox, old(&S::IDbox));
    text("IDNameLbl", s.IDNameLbl, old(&S::IDNameLbl));
    text("IDTypeLbl", s.IDTypeLbl, old(&S::IDTypeLbl));
    text("IDchLbl", s.IDchLbl, old(&S::IDchLbl));
    text("IDlbl_0", s.IDlbl0, old(&S::IDlbl0));
    text("TrunkingNameLbl", s.TrunkingNameLbl, old(&S::TrunkingNameLbl));
    text("TrunkingTypeLbl", s.TrunkingTypeLbl, old(&S::TrunkingTypeLbl));
    text("FreqBankLbl", s.FreqBankLbl, old(&S::FreqBankLbl));
    text("SystemLbl", s.SystemLbl, old(&S::SystemLbl));
    // A limit box is rewritten only by an answer, so typing survives other renders.
    const bool lowerAnswered = !o || o->LLanswers != s.LLanswers;
    const bool upperAnswered = !o || o->LUanswers != s.LUanswers;
    text("LLbox", s.LLbox, lowerAnswered ? nullptr : old(&S::LLbox));
    text("LUbox", s.LUbox, upperAnswered ? nullptr : old(&S::LUbox));
    text("TcpstatusBox", s.TcpstatusBox, old(&S::TcpstatusBox));

    visible("PriLbl", s.PriLbl);
    visible("SQopen", s.SQopen);
    visible("IDListen", s.IDListen);
    visible("LightOn", s.LightOn);
    visible("LightAuto", s.LightAuto);
    visible("LightOff", s.LightOff);
    visible("TCPConnectionCmd", s.TCPConnectionCmd);
    visible("TCPConnectOnCmd", s.TCPConnectOnCmd);

    // Only lamps that change are repainted.
    auto lamp = [](LampLabel* l, bool on) {
        if (l->isLit() != on)
            l->setLit(on);
    };
    for (int i = 1; i <= 10; ++i) {
        lamp(m_window.bankLamp(i), s.BankLbl[size_t(i)]);
        lamp(m_window.idLamp(i), s.IDlbl[size_t(i)]);
    }
    for (int i = 0; i < 5; ++i)
        lamp(m_window.functionLamp(i), s.buttonlbl[size_t(i)]);

    checked("LightPermanent", s.LightPermanent);
    checked("LightOffMnu", s.LightOffMnu);
    checked("LightAutomaticMnu", s.LightAutomaticMnu);
    checked("Mute", s.Mute);
    checked("MonitorMode", s.MonitorMode);
    checked("CenterTuningOnOff", s.CenterTuningOnOff);
    m_window.centerTuning()->setPointerX(s.TunLine);
    m_window.centerTuning()->setPointerVisible(s.CenterTuningOnOff);

    m_shown = s;
}

} // namespace vexlor::app

#include "moc_MainDisplayView.cpp"
