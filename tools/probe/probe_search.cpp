// quivella-probe search BANKFILE QUERY: runs the query search of the window over a bank file,
// without a view, and prints its rows and the count label.
#include <QString>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

#include "platform/cp936.h"
#include "search/query_search.h"
#include "tools/probe/probe.h"

namespace quivella::probe {
namespace {

// Writes a code page 936 cell as UTF-8, a trailing carriage return as the two characters \r.
void PrintCell(const Text& cell) {
  std::string_view body = cell;
  const bool endsWithCr = !body.empty() && body.back() == '\r';
  if (endsWithCr) {
    body.remove_suffix(1);
  }
  const std::u16string units = StandardToUtf16(body);
  const QByteArray utf8 =
      QString(reinterpret_cast<const QChar*>(units.data()), static_cast<qsizetype>(units.size()))
          .toUtf8();
  std::fwrite(utf8.constData(), 1, static_cast<std::size_t>(utf8.size()), stdout);
  if (endsWithCr) {
    std::fputs("\\r", stdout);
  }
}

}  // namespace

int RunSearch(int argc, char** argv) {
  if (argc != 2) {
    std::fputs("usage: quivella-probe search BANKFILE QUERY\n", stderr);
    return 2;
  }
  std::ifstream in(argv[0], std::ios::binary);
  if (!in) {
    std::fprintf(stderr, "quivella-probe search: cannot open %s\n", argv[0]);
    return 1;
  }
  const Text bank{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  // The query arrives in UTF-8 and is converted as the window converts typed text.
  const QString typed = QString::fromUtf8(argv[1]);
  const Text query = QueryTextFromUtf16(
      std::u16string_view(reinterpret_cast<const char16_t*>(typed.utf16()),
                          static_cast<std::size_t>(typed.size())));

  RegexObject matcher;
  ResultListModel list;
  const std::optional<Text> label = RunQuerySearch(matcher, bank, query, list);
  if (!label) {
    std::puts("invalid");
    return 0;
  }
  for (int r = 0; r < list.RowCount(); ++r) {
    for (int c = 0; c < ResultListModel::kColumnCount; ++c) {
      if (c > 0) {
        std::fputc('\t', stdout);
      }
      PrintCell(list.CellText(r, c));
    }
    std::fputc('\n', stdout);
  }
  PrintCell(*label);
  std::fputc('\n', stdout);
  return 0;
}

}  // namespace quivella::probe
