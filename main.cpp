// QMX GUI II: a front end for the map-compile tools. All behaviour lives in the libraries.

#include "main_window/Form1.h"
#include "toolkit/ShownReport.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("QMX GUI II"));
    Form1 form;
    form.Form1_Form_Load();
    if (qEnvironmentVariableIsSet("QMX_REPORT_SHOWN"))
        qmx::reportWhenShown(form);
    return QApplication::exec();
}
