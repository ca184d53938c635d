#pragma once

// The tests of one folder share a program; each test class registers itself
// under its file's name, and CTest starts the program once per test:
// `tests_memory tst_cell [QtTest options]`.
#include <QObject>
#include <QTest>

#include <memory>

namespace vexlor::testing {

enum class TestApp { Core, Widgets };
using TestFactory = std::unique_ptr<QObject> (*)();

// file is the test's source path; its base name (tst_cell) names the test.
bool registerTest(const char* file, TestApp app, TestFactory make);

} // namespace vexlor::testing

// In place of QTEST_MAIN and QTEST_GUILESS_MAIN, with the same application each makes.
#define VEXLOR_TEST_REGISTER(TestObject, app)                                                  \
    [[maybe_unused]] static const bool vexlorTestRegistered = ::vexlor::testing::registerTest( \
        __FILE__, app, [] { return std::unique_ptr<QObject>(new TestObject); });
#define VEXLOR_TEST_MAIN(TestObject) VEXLOR_TEST_REGISTER(TestObject, ::vexlor::testing::TestApp::Widgets)
#define VEXLOR_TEST_GUILESS_MAIN(TestObject) VEXLOR_TEST_REGISTER(TestObject, ::vexlor::testing::TestApp::Core)
