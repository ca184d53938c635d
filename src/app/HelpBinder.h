#pragma once

#include <QObject>
#include <QString>

#include <map>
#include <memory>

namespace vexlor::utilities {
class HelpWindow;
}

namespace vexlor::app {

class Application;

// The help items of the Help menu: each opens its window, made on first use and then reused.
class HelpBinder : public QObject {
    Q_OBJECT
public:
    explicit HelpBinder(Application& app);
    ~HelpBinder() override;

    // Null until first opened.
    utilities::HelpWindow* window(const QString& name) const;

private:
    Application& m_app;
    std::map<QString, std::unique_ptr<utilities::HelpWindow>> m_windows;
};

} // namespace vexlor::app
