#include "platform/ui/Skeleton.h"
#include <QApplication>
#include <QWidget>

int Run_Empty_Main_Form(int argc, char** argv, const char* caption)
{
    QApplication app(argc, argv);
    QWidget form;
    form.setObjectName("Form_KardunGAS");
    form.setWindowTitle(QString::fromUtf8(caption));
    form.resize(780, 520);
    form.show();
    return app.exec();
}
