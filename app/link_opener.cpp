// Opening the hyperlink's address on the desktop.
#include "app/link_opener.h"

#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTextStream>

namespace quivella {
namespace {

constexpr const char* kHtmlType = "text/html";

// Reads the value of key in [group] of a desktop-style ini file; null when absent.
// Keys like "text/html" hold a slash, so this does not go through QSettings.
QString ReadIniValue(const QString& path, const QString& group, const QString& key) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
    return {};
  }
  QTextStream in(&file);
  bool inGroup = false;
  while (!in.atEnd()) {
    const QString line = in.readLine().trimmed();
    if (line.startsWith(u'[')) {
      inGroup = line == u'[' + group + u']';
      continue;
    }
    if (!inGroup || line.startsWith(u'#')) {
      continue;
    }
    const qsizetype equals = line.indexOf(u'=');
    if (equals > 0 && line.left(equals).trimmed() == key) {
      return line.mid(equals + 1).trimmed();
    }
  }
  return {};
}

// Applies the escapes of a desktop entry's string values: \s \n \t \r \\.
QString UnescapeValue(const QString& value) {
  QString out;
  for (qsizetype i = 0; i < value.size(); ++i) {
    if (value[i] != u'\\' || i + 1 == value.size()) {
      out += value[i];
      continue;
    }
    const QChar next = value[++i];
    if (next == u's') {
      out += u' ';
    } else if (next == u'n') {
      out += u'\n';
    } else if (next == u't') {
      out += u'\t';
    } else if (next == u'r') {
      out += u'\r';
    } else if (next == u'\\') {
      out += u'\\';
    } else {
      out += u'\\';
      out += next;
    }
  }
  return out;
}

// The command of the desktop entry with id in the first applications directory that has it.
std::optional<LaunchCommand> CommandOfEntry(const QString& id, const QStringList& applicationDirs,
                                            const QUrl& url) {
  for (const QString& dir : applicationDirs) {
    const QString path = QDir(dir).filePath(id);
    if (!QFile::exists(path)) {
      continue;
    }
    // The first directory that holds the id decides, also when its entry is unusable.
    if (ReadIniValue(path, QStringLiteral("Desktop Entry"), QStringLiteral("Hidden")) ==
        u"true") {
      return std::nullopt;
    }
    const QString exec =
        ReadIniValue(path, QStringLiteral("Desktop Entry"), QStringLiteral("Exec"));
    if (exec.isEmpty()) {
      return std::nullopt;
    }
    return CommandFromExec(UnescapeValue(exec), url);
  }
  return std::nullopt;
}

// The first usable application of a ";"-separated list of desktop entry ids.
std::optional<LaunchCommand> FirstUsable(const QString& ids, const QStringList& applicationDirs,
                                         const QUrl& url) {
  for (const QString& id : ids.split(u';', Qt::SkipEmptyParts)) {
    if (std::optional<LaunchCommand> command = CommandOfEntry(id.trimmed(), applicationDirs, url)) {
      return command;
    }
  }
  return std::nullopt;
}

}  // namespace

bool OpenLink(LinkOpener& opener, const QUrl& url) {
  return opener.OpenWithDefaultHandler(url) || opener.OpenWithHtmlProgram(url);
}

bool DesktopLinkOpener::OpenWithDefaultHandler(const QUrl& url) {
  return QDesktopServices::openUrl(url);
}

bool DesktopLinkOpener::OpenWithHtmlProgram(const QUrl& url) {
  const std::optional<LaunchCommand> command =
      FindHtmlProgram(QStandardPaths::standardLocations(QStandardPaths::GenericConfigLocation),
                      QStandardPaths::standardLocations(QStandardPaths::ApplicationsLocation), url);
  return command && QProcess::startDetached(command->program, command->arguments);
}

std::optional<LaunchCommand> FindHtmlProgram(const QStringList& configDirs,
                                             const QStringList& applicationDirs,
                                             const QUrl& url) {
  const QString type = QString::fromLatin1(kHtmlType);
  QStringList listFiles;
  for (const QString& dir : configDirs) {
    listFiles << QDir(dir).filePath(QStringLiteral("mimeapps.list"));
  }
  for (const QString& dir : applicationDirs) {
    listFiles << QDir(dir).filePath(QStringLiteral("mimeapps.list"));
  }
  for (const QString& file : listFiles) {
    const QString ids = ReadIniValue(file, QStringLiteral("Default Applications"), type);
    if (std::optional<LaunchCommand> command = FirstUsable(ids, applicationDirs, url)) {
      return command;
    }
  }
  for (const QString& dir : applicationDirs) {
    const QString ids = ReadIniValue(QDir(dir).filePath(QStringLiteral("mimeinfo.cache")),
                                     QStringLiteral("MIME Cache"), type);
    if (std::optional<LaunchCommand> command = FirstUsable(ids, applicationDirs, url)) {
      return command;
    }
  }
  return std::nullopt;
}

std::optional<LaunchCommand> CommandFromExec(const QString& exec, const QUrl& url) {
  // Split into arguments: blanks separate, double quotes group, and inside quotes a backslash
  // takes the next character literally.
  QStringList words;
  QString word;
  bool inWord = false;
  bool quoted = false;
  for (qsizetype i = 0; i < exec.size(); ++i) {
    const QChar c = exec[i];
    if (quoted) {
      if (c == u'\\' && i + 1 < exec.size()) {
        word += exec[++i];
      } else if (c == u'"') {
        quoted = false;
      } else {
        word += c;
      }
    } else if (c == u'"') {
      quoted = true;
      inWord = true;
    } else if (c == u' ' || c == u'\t') {
      if (inWord) {
        words << word;
        word.clear();
        inWord = false;
      }
    } else {
      word += c;
      inWord = true;
    }
  }
  if (quoted) {
    return std::nullopt;
  }
  if (inWord) {
    words << word;
  }
  // The first word names the program; a field code cannot stand in for it.
  if (words.isEmpty() || words.first().isEmpty() || words.first().startsWith(u'%')) {
    return std::nullopt;
  }

  // Put in the field codes: the address for the file and URL codes, nothing for the others.
  QStringList arguments;
  bool addressPlaced = false;
  for (const QString& w : words) {
    if (w == u"%u" || w == u"%U" || w == u"%f" || w == u"%F") {
      if (!addressPlaced) {
        arguments << url.toString(QUrl::FullyEncoded);
        addressPlaced = true;
      }
      continue;
    }
    QString expanded;
    for (qsizetype i = 0; i < w.size(); ++i) {
      if (w[i] == u'%' && i + 1 < w.size()) {
        if (w[++i] == u'%') {
          expanded += u'%';
        }
        continue;  // %i %c %k and the deprecated codes expand to nothing
      }
      expanded += w[i];
    }
    if (!expanded.isEmpty() || !w.startsWith(u'%')) {
      arguments << expanded;
    }
  }
  if (!addressPlaced) {
    arguments << url.toString(QUrl::FullyEncoded);
  }
  LaunchCommand command;
  command.program = arguments.takeFirst();
  command.arguments = arguments;
  return command;
}

}  // namespace quivella
