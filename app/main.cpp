#include "app/AppController.h"
#include "app/HeadlessRunner.h"
#include "platform/ui/Application.h"

#include <QByteArray>
#include <QList>

int main(int argc, char** argv) {
    QList<QByteArray> arguments;
    for (int i = 1; i < argc; ++i) {
        arguments.append(QByteArray(argv[i]));
    }
    const HeadlessRequest request = HeadlessRunner::parse(arguments);
    if (request.kind != HeadlessRequest::Kind::Gui) {
        return HeadlessRunner::main(argc, argv, request);
    }
    return ui::ApplicationMain(argc, argv, [] { return new AppController(); });
}
