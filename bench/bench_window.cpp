// The window end to end on Qt's offscreen platform: a keystroke in the query box until the
// result list and the count label are updated and drawn.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QLineEdit>
#include <QTest>

#include "app/event_wiring.h"
#include "app/main_window.h"
#include "app/program.h"
#include "banks/bank_state.h"
#include "bench/bench_banks.h"

namespace quivella {
namespace {

// Types text into the box as key presses carrying it, as an input method delivers it.
void Type(QLineEdit* box, const char* utf8) {
  QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString::fromUtf8(utf8));
  QCoreApplication::sendEvent(box, &press);
}

// Types one character of the query and takes it back, each keystroke followed by the
// repaint it causes.
void BM_WindowKeystroke(benchmark::State& state) {
  BankText = state.range(0) == 0 ? bench::ReadResource("kjxs.txt")
                                 : bench::SyntheticBank(static_cast<int>(state.range(0)));
  StartUpTable table;
  table.events = EventWiring{nullptr, &OnQueryChanged, nullptr};
  MainWindow& window = LoadMainWindow(table);
  QLineEdit* box = window.QueryBox();
  Type(box, "中");
  QCoreApplication::processEvents();
  for (auto _ : state) {
    Type(box, "国");
    window.repaint();
    QTest::keyClick(box, Qt::Key_Backspace);
    window.repaint();
  }
  state.SetItemsProcessed(state.iterations() * 2);  // keystrokes
  state.SetLabel(state.range(0) == 0 ? "kjxs" : "kjxs_x" + std::to_string(state.range(0)));
  delete &window;
  BankText.clear();
}

BENCHMARK(BM_WindowKeystroke)->Arg(0)->Arg(1000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace quivella

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  quivella::Matcher = std::make_unique<quivella::RegexObject>();
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  quivella::Matcher.reset();
  return 0;
}
