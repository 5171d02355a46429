// Opening a web address for the hyperlink: the desktop's default handler first, then the
// program registered for HTML documents.
//
// The registered program is found the freedesktop way: the default application for text/html
// in the mimeapps.list files (user config, system config, then the applications directories),
// else the first application that lists text/html in an applications directory's
// mimeinfo.cache. Its desktop entry's Exec line, with the address put in for %u/%U/%f/%F (or
// appended when it has none), is started detached.
#pragma once

#include <QString>
#include <QStringList>
#include <QUrl>
#include <optional>

namespace quivella {

// The two ways of opening an address. Tests replace them so no browser is ever started.
class LinkOpener {
 public:
  virtual ~LinkOpener() = default;
  // Asks the desktop to open url with its default handler; true when it reports success.
  virtual bool OpenWithDefaultHandler(const QUrl& url) = 0;
  // Starts the program registered for HTML documents with url; true when it started.
  virtual bool OpenWithHtmlProgram(const QUrl& url) = 0;
};

// Opens url with the default handler, falling back to the HTML program; true when either
// succeeded.
bool OpenLink(LinkOpener& opener, const QUrl& url);

// The opener of the running desktop.
class DesktopLinkOpener : public LinkOpener {
 public:
  bool OpenWithDefaultHandler(const QUrl& url) override;
  bool OpenWithHtmlProgram(const QUrl& url) override;
};

// A program and its arguments.
struct LaunchCommand {
  QString program;
  QStringList arguments;
};

// Finds the command that opens url with the program registered for text/html.
// configDirs are searched for mimeapps.list, applicationDirs for mimeapps.list,
// mimeinfo.cache and the desktop entries; both in order of precedence.
std::optional<LaunchCommand> FindHtmlProgram(const QStringList& configDirs,
                                             const QStringList& applicationDirs,
                                             const QUrl& url);

// Splits a desktop entry's Exec value into a command for url; nullopt when it is malformed.
std::optional<LaunchCommand> CommandFromExec(const QString& exec, const QUrl& url);

}  // namespace quivella
