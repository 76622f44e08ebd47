// Writes the console screenshots of docs/: run from the build directory
// with the target directory as the only argument, e.g.
//   QT_QPA_PLATFORM=offscreen ./taikan_screenshots ../docs
#include "console/console.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QRadioButton>
#include <QStyleFactory>
#include <QTemporaryDir>
#include <cstdio>

namespace {

class SilentMessages final : public ui::Messages {
public:
    void show(QWidget *, ui::MessageIcon, const QString &) override {}
};

class NoFiles final : public ui::FileDialog {
public:
    std::optional<QString> openFile(QWidget *, const QString &, const QString &, const QString &,
                                    const QString &) override
    {
        return std::nullopt;
    }
};

bool save(QWidget &window, const QDir &dir, const char *name)
{
    QApplication::processEvents();
    const QString path = dir.filePath(QString::fromLatin1(name));
    const bool ok = window.grab().save(path);
    std::printf("%s %s\n", ok ? "wrote" : "FAILED", qPrintable(path));
    return ok;
}

template <typename T>
T *find(QWidget &window, const char *name)
{
    return window.findChild<T *>(QLatin1String(name));
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    const QDir out(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("."));
    QTemporaryDir settingsDir;
    SilentMessages messages;
    NoFiles files;

    console::Kata kata(
        ui::Platform{&messages, &files, {settingsDir.path(), true, settingsDir.path()}, &ui::systemDisplays()});
    kata.show();
    find<QRadioButton>(kata, "Optionr4")->click(); // red 4, blue 1
    bool ok = save(kata, out, "console.png");

    kata.katasp();
    ok = save(kata, out, "console-mirrored.png") && ok;
    kata.kataonsp();

    if (auto *setup = find<QAbstractButton>(kata, "MyButton1")) {
        setup->click();
        if (auto *field = find<QLineEdit>(kata, "eindwav"))
            field->setText(QStringLiteral("/usr/share/sounds/taikan/gong.wav"));
        if (auto *field = find<QLineEdit>(kata, "waarwav"))
            field->setText(QStringLiteral("/usr/share/sounds/taikan/bell.wav"));
        ok = save(kata, out, "console-setup.png") && ok;
    }
    return ok ? 0 : 1;
}
