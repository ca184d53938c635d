#include "TestSuite.h"

#include <QApplication>

#include <cstdio>
#include <cstring>
#include <map>
#include <string>

namespace vexlor::testing {

namespace {

struct Entry {
    TestApp app;
    TestFactory make;
};

// A function-local map: registrations run during static initialisation, in any order.
std::map<std::string, Entry>& registry()
{
    static std::map<std::string, Entry> tests;
    return tests;
}

} // namespace

bool registerTest(const char* file, TestApp app, TestFactory make)
{
    std::string name(file);
    name = name.substr(name.find_last_of('/') + 1);
    name = name.substr(0, name.rfind('.'));
    return registry().emplace(name, Entry {app, make}).second;
}

} // namespace vexlor::testing

int main(int argc, char** argv)
{
    using namespace vexlor::testing;
    const auto found = argc > 1 ? registry().find(argv[1]) : registry().end();
    if (found == registry().end()) {
        std::fprintf(stderr, "usage: %s TEST [QtTest options]\ntests:", argv[0]);
        for (const auto& [name, entry] : registry())
            std::fprintf(stderr, " %s", name.c_str());
        std::fprintf(stderr, "\n");
        return 2;
    }
    // The test's name takes the program's place, so QtTest and Qt see what a
    // program of that name would have.
    int testArgc = argc - 1;
    char** testArgv = argv + 1;
    std::unique_ptr<QCoreApplication> app;
    if (found->second.app == TestApp::Widgets) {
        app = std::make_unique<QApplication>(testArgc, testArgv);
        app->setAttribute(Qt::AA_Use96Dpi, true);
    } else {
        app = std::make_unique<QCoreApplication>(testArgc, testArgv);
    }
    const std::unique_ptr<QObject> test = found->second.make();
    return QTest::qExec(test.get(), testArgc, testArgv);
}
