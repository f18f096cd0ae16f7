// The reference: a bare Qt window that just opens. Prints when its first paint happens
// (ms after the launch instant given as argv[1]) and its resident memory then; with
// argv[2] = seconds, it then idles that long and prints its CPU use.
#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <cstdio>

#include "process_figures.h"

namespace {

class BareWindow : public QWidget {
public:
    explicit BareWindow(const char* launch) : launch_(launch) {}

protected:
    void paintEvent(QPaintEvent*) override {
        if (!painted_) {
            painted_ = true;
            std::printf("startup_ms=%.1f\nrss_kib=%ld\n", msSinceLaunch(launch_), residentKiB());
            QTimer::singleShot(0, qApp, &QCoreApplication::quit);
        }
    }

private:
    const char* launch_;
    bool painted_ = false;
};

}  // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    BareWindow window(argc > 1 ? argv[1] : nullptr);
    window.resize(658, 569);
    window.show();
    app.exec();
    if (argc > 2) {
        const int seconds = std::atoi(argv[2]);
        const double cpuBefore = cpuSeconds();
        QTimer::singleShot(seconds * 1000, &app, &QCoreApplication::quit);
        app.exec();
        std::printf("idle_cpu_percent=%.3f\n", 100.0 * (cpuSeconds() - cpuBefore) / seconds);
    }
    return 0;
}
