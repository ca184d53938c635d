#include "memory/MemoryTables.h"
#include "platform/qt/QtPrinter.h"
#include "printing/ListPage.h"

#include <QGuiApplication>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

using vexlor::memory::MemoryTables;

namespace {

// One full bank (30 named channels) laid out and written to a PDF file.
void BM_PrintBankToPdf(benchmark::State& state)
{
    MemoryTables tables;
    for (int ch = 1; ch <= 30; ++ch) {
        tables.Channels.set(ch, MemoryTables::kChCh, ch);
        tables.Channels.set(ch, MemoryTables::kChFrequency, QStringLiteral("%1.1250").arg(150 + ch));
        tables.Channels.set(ch, MemoryTables::kChType, QStringLiteral("POL"));
        tables.Channels.set(ch, MemoryTables::kChName, QStringLiteral("Channel %1").arg(ch));
        tables.Channels.set(ch, MemoryTables::kChMode, QStringLiteral("Normal"));
    }
    tables.BankNames.set(1, QStringLiteral("County"));
    const vexlor::printing::PageHead head {QStringLiteral("Printed by Vexlor"), QStringLiteral("https://example.org"),
        QStringLiteral("Operator"), QStringLiteral("me@example.org"), QStringLiteral("Good listening!")};
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("bank.pdf"));
    for (auto _ : state) {
        vexlor::platform::QtPrinter printer(file);
        vexlor::printing::ListPage(printer).draw(tables, {1, 0}, head, QDateTime::currentDateTime());
        if (!printer.endDoc())
            state.SkipWithError("the PDF file could not be written");
    }
}
BENCHMARK(BM_PrintBankToPdf)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    // Fonts need a GUI application; no window is shown.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
