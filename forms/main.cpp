// KVN: the coil rating program.
#include <QApplication>

#include "engine/msgbox.h"
#include "forms/Form1.h"
#include "forms/qt_message_sink.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("KVN");
    QApplication::setApplicationVersion("9.00");

    QtMessageSink sink;
    ScopedMessageSink messages(sink);

    Form1 form;
    form.show();
    return app.exec();
}
