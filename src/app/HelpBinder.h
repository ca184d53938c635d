#pragma once

#include <QObject>
#include <QString>

#include <map>
#include <memory>

namespace vexlor::utilities {
class About;
class HelpWindow;
class Links;
}

namespace vexlor::app {

class Application;

// The Help menu and About: help windows, made on first use and then reused,
// the links, and the about window.
class HelpBinder : public QObject {
    Q_OBJECT
public:
    explicit HelpBinder(Application& app);
    ~HelpBinder() override;

    // Null until first opened.
    utilities::HelpWindow* window(const QString& name) const;
    utilities::About* about() const { return m_about.get(); }
    utilities::Links& links() { return *m_links; }

    // The README that ships with the program: installed, or in the source tree.
    static QString documentationPath();

private:
    Application& m_app;
    std::map<QString, std::unique_ptr<utilities::HelpWindow>> m_windows;
    std::unique_ptr<utilities::Links> m_links;
    std::unique_ptr<utilities::About> m_about;
};

} // namespace vexlor::app
