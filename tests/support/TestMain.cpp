#include <QApplication>
#include <QTemporaryDir>

#include <gtest/gtest.h>

// The windows need an application object; tests run it without a screen.
int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // LibreOffice, which some tests run, keeps its profile in the cache
    // folder: one of this run's own, apart from the user's and other runs'.
    const QTemporaryDir cache;
    qputenv("XDG_CACHE_HOME", cache.path().toUtf8());
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
