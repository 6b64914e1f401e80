#include <QApplication>

#include "app/kettrik_app.h"

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QStringList arguments = QApplication::arguments();
    if (!arguments.isEmpty()) {
        arguments.removeFirst(); // the program's own name
    }
    return kettrik::CKettrikApp().Run(arguments);
}
