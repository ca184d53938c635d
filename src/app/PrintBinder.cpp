#include "app/PrintBinder.h"

#include "app/Application.h"
#include "app/SecondaryWindow.h"
#include "app/Version.h"
#include "app/ui/MainWindow.h"
#include "printing/ui/PrintFrm.h"

#include <QAction>

namespace vexlor::app {

PrintBinder::PrintBinder(Application& app)
    : m_app(app),
      m_printing(app.tables(), app.platform().printers, app.platform().dialogs, app.platform().clock,
          [this] { return pageHead(); })
{
    if (QAction* a = app.window().action(QStringLiteral("PrintListsMnu"))) {
        a->setEnabled(true);
        connect(a, &QAction::triggered, this, &PrintBinder::PrintListsMnu_Click);
    }
}

PrintBinder::~PrintBinder() = default;

void PrintBinder::PrintListsMnu_Click()
{
    if (m_app.finished())
        return;
    if (!m_window)
        m_window = std::make_unique<printing::PrintFrm>(m_printing);
    m_printing.open();
    showSecondaryWindow(m_app.window(), *m_window);
}

printing::PageHead PrintBinder::pageHead() const
{
    const IniFile::Links links = m_app.INIObj().links();
    return {QStringLiteral("Printed by Vexlor %1.%2.%3").arg(kVersionMajor).arg(kVersionMinor).arg(kVersionRevision),
        links.webSite, m_app.INIObj().UserName(), links.mailAddress, QStringLiteral("Good listening!")};
}

} // namespace vexlor::app

#include "moc_PrintBinder.cpp"
