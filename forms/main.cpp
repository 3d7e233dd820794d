// KVN: the coil rating program.
#include <QApplication>
#include <QTimer>

#include <cstdio>
#include <string>
#include <vector>

#include "common/version.h"
#include "engine/msgbox.h"
#include "forms/Form1.h"
#include "forms/badge_icon.h"
#include "forms/command_line.h"
#include "files/saved_coils.h"
#include "forms/qt_message_sink.h"

int main(int argc, char* argv[]) {
    // --help and --version answer before the toolkit starts, so they need
    // no display. Usage errors are judged only after the toolkit has taken
    // its own options (such as -platform) out of argv.
    const KvnCommandLine early = ParseKvnCommandLine(std::vector<std::string>(argv + 1, argv + argc));
    if (early.action == KvnCommandLine::kHelp) {
        std::fputs(kKvnHelp, stdout);
        return 0;
    }
    if (early.action == KvnCommandLine::kVersion) {
        std::fputs(KvnVersionText().c_str(), stdout);
        return 0;
    }

    QApplication app(argc, argv);
    QApplication::setApplicationName("KVN");
    QApplication::setApplicationVersion(kvn::kVersion);
    QApplication::setDesktopFileName(kKvnDesktopId);
    QApplication::setWindowIcon(KvnBadgeIcon());

    const KvnCommandLine cl = ParseKvnCommandLine(std::vector<std::string>(argv + 1, argv + argc));
    if (cl.action != KvnCommandLine::kRun) {
        std::fprintf(stderr, "kvn: %s (try --help)\n", cl.error.c_str());
        return 1;
    }

    QtMessageSink sink;
    ScopedMessageSink messages(sink);

    // The coil document of the session: the window works on it.
    CoilDocument document;
    Form1 form(document);
    form.show();
    // The file opens once the window is up, as if chosen with File, Open.
    if (cl.hasFile) QTimer::singleShot(0, &form, [&form, &cl] { form.OpenCoilFile(cl.file); });
    return app.exec();
}
