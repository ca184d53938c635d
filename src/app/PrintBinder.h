#pragma once

#include "printing/ListPrinting.h"

#include <QObject>
#include <memory>

namespace vexlor::printing {
class PrintFrm;
}

namespace vexlor::app {

class Application;

// The Memories menu's "&Print Lists": the print window, made on first use and then reused.
class PrintBinder : public QObject {
    Q_OBJECT
public:
    explicit PrintBinder(Application& app);
    ~PrintBinder() override;

    printing::ListPrinting& printing() { return m_printing; }
    // Null until first opened.
    printing::PrintFrm* window() const { return m_window.get(); }

    void PrintListsMnu_Click();
    // The page's head and foot: this program, its links and the operator.
    printing::PageHead pageHead() const;

private:
    Application& m_app;
    printing::ListPrinting m_printing;
    std::unique_ptr<printing::PrintFrm> m_window;
};

} // namespace vexlor::app
