#pragma once

// A whole program over fakes, in a scratch working directory, for tests that
// link vexlor_app.
#include "FakeClipboard.h"
#include "FakeClock.h"
#include "FakeDialogs.h"
#include "FakeSerialPort.h"
#include "FakeShell.h"
#include "app/Application.h"
#include "platform/qt/QtPrintService.h"

#include <QDir>
#include <QTemporaryDir>
#include <memory>

namespace vexlor::testing {

class AppFixture {
protected:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_oldDir;
    fakes::FakeSerialPort m_port;
    fakes::FakeDialogs m_dialogs;
    fakes::FakeShell m_shell;
    fakes::FakeClipboard m_clipboard;
    fakes::FakeClock m_clock;
    platform::QtPrintService m_printers;
    std::unique_ptr<app::Application> m_app;
    // Sound for recordings; none unless a test gives them.
    std::function<std::unique_ptr<platform::AudioSource>()> m_soundInput;
    std::function<std::unique_ptr<platform::AudioFileWriter>()> m_soundFiles;
    std::function<std::unique_ptr<platform::SoundPlayer>()> m_soundPlayer;
    std::function<bool(const QString&, double*, platform::AudioFileWriter::Tags*)> m_soundInfo;

    // Every file the program opens by bare name lands in a fresh folder.
    bool enterScratchDir()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        m_oldDir = QDir::currentPath();
        m_dialogs = fakes::FakeDialogs();
        m_shell = fakes::FakeShell();
        return m_dir->isValid() && QDir::setCurrent(m_dir->path());
    }
    void leaveScratchDir()
    {
        m_app.reset();
        QDir::setCurrent(m_oldDir);
    }
    std::unique_ptr<app::Application> makeApp(const app::CommandLine& options = {})
    {
        auto a = std::make_unique<app::Application>(
            app::Platform {m_port, m_dialogs, m_shell, m_clock, m_clipboard, [] { return QStringList(); }, m_printers, m_soundInput,
                           m_soundFiles, {}, m_soundPlayer, m_soundInfo},
            options);
        a->exitProgram = [] {};
        return a;
    }
};

} // namespace vexlor::testing
