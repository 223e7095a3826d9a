// The configuration file: the port line rules, where the file lives, the
// start-up read and the write when a port is chosen.

#include "Files.h"
#include "GuiFixture.h"
#include "core/files/Configuration.h"
#include "core/files/DataFile.h"
#include "core/files/TextLines.h"
#include "gui/shell/MainWindow.h"

#include <QAction>
#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace kpr5;
using namespace kpr5::test;

class ConfigurationTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_ini;

private Q_SLOTS:
    void init() {
        m_ini = m_dir.filePath(QStringLiteral("KPR5Writer.INI"));
        QFile::remove(m_ini);
        config::setConfigurationPath(m_ini);
    }
    void cleanup() { config::setConfigurationPath(QString()); }

    void portLine_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("port");
        QTest::newRow("COMPORT3 is ignored") << QByteArray("x\r\nCOMPORT3\r\n") << 1;
        QTest::newRow("COMPORT12") << QByteArray("x\r\nCOMPORT12\r\nFile End\r\n") << 12;
        QTest::newRow("COMPORT01") << QByteArray("COMPORT01\r\n") << 1;
        QTest::newRow("COMPORT16 LF") << QByteArray("h\nCOMPORT16\n") << 16;
        QTest::newRow("COMPORT00") << QByteArray("COMPORT00\r\n") << 1;
        QTest::newRow("COMPORT17") << QByteArray("COMPORT17\r\n") << 1;
        QTest::newRow("COMPORT1x") << QByteArray("COMPORT1x\r\n") << 1;
        QTest::newRow("COMPORT012") << QByteArray("COMPORT012\r\n") << 1;
        QTest::newRow("first CO line counts") << QByteArray("COMMENT12\r\nCOMPORT05\r\n") << 12;
        QTest::newRow("no port line") << QByteArray("File End\r\n") << 1;
        QTest::newRow("empty") << QByteArray() << 1;
    }
    void portLine() {
        QFETCH(QByteArray, bytes);
        QFETCH(int, port);
        QCOMPARE(config::parseConfiguration(bytes).comPort, port);
        writeFile(m_ini, bytes);
        QCOMPARE(config::readConfiguration(m_ini).comPort, port);
    }

    // The file holds the port, the device, the backup count and the image,
    // and opens as a data file.
    void writtenFileHoldsTheImage() {
        RadioDocument doc;
        doc.channels.setText(5, 12, QStringLiteral("ON SCREEN"));
        doc.channels.setText(5, 1, QStringLiteral("145.00000MHz"));
        doc.channels.setInUse(4, 1);
        QString error;
        config::PortChoice written;
        written.comPort = 7;
        written.devicePath = QStringLiteral("/dev/serial/by-id/usb-Ä B");
        written.keepBackups = 30; // a number set by hand survives the rewrite
        QVERIFY(config::writeConfiguration(doc, written, m_ini, &error));
        const QStringList lines = textfile::decodeLines(readFile(m_ini));
        QCOMPARE(lines.last(), QStringLiteral("File End"));
        // The device line follows the port line, so the port line is still the
        // first line that starts with "CO".
        QVERIFY(lines.at(lines.indexOf(QStringLiteral("COMPORT07")) + 1).startsWith("DEVICE"));
        const config::PortChoice choice = config::readConfiguration(m_ini);
        QCOMPARE(choice.comPort, 7);
        QCOMPARE(choice.devicePath, written.devicePath);
        QCOMPARE(choice.keepBackups, 30);
        RadioDocument back;
        QVERIFY(readDataFile(back, readFile(m_ini)).ok());
        QCOMPARE(back.channels.text(5, 12), QStringLiteral("ON SCREEN"));
        QCOMPARE(config::readConfiguration(m_dir.filePath("missing.INI")).comPort, 1);
    }

    void whereTheFileLives() {
        QCOMPARE(config::configurationPath(), m_ini);
        config::setConfigurationPath(QString());
        // A test program never touches the user's configuration.
        QCOMPARE(config::configurationPath(), QString());
        const QString name = QCoreApplication::applicationName();
        QCoreApplication::setApplicationName(QStringLiteral("kpr5"));
        // The build folder is writable: beside the program.
        const QString path = config::configurationPath();
        const QString program = config::programConfigurationPath();
        const QString user = config::userConfigurationPath();
        QCoreApplication::setApplicationName(name);
        QCOMPARE(path, program);
        QVERIFY(program.endsWith(QStringLiteral("/KPR5Writer.INI")));
        QVERIFY(user.endsWith(QStringLiteral("/KPR5Writer.INI")));
        QVERIFY(QFileInfo(program).absolutePath() == QCoreApplication::applicationDirPath());
    }

    void choosingAPortWritesTheFile() {
        MessageRecorder messages;
        {
            MainWindow w;
            w.document().channels.setText(7, 12, QStringLiteral("SEEN"));
            w.document().channels.setText(7, 1, QStringLiteral("430.00000MHz"));
            w.document().channels.setInUse(6, 1);
            w.findChild<QAction *>(QStringLiteral("MenuSetCom(5)"))->trigger();
            const QStringList lines = textfile::decodeLines(readFile(m_ini));
            QVERIFY(lines.contains(QStringLiteral("COMPORT05")));
            QCOMPARE(lines.filter(QStringLiteral("SEEN")).size(), 1);
            QCOMPARE(lines.filter(QRegularExpression(QStringLiteral("^DEVICE"))).size(), 0);
        }
        {
            MainWindow w; // reads the port at start-up
            QCOMPARE(w.link().portSettings().comPort, 5);
            QVERIFY(w.findChild<QAction *>(QStringLiteral("MenuSetCom(5)"))->isChecked());
            QVERIFY(!w.findChild<QAction *>(QStringLiteral("MenuSetCom(1)"))->isChecked());
            QVERIFY(w.link().portSettings().devicePath.isEmpty());
            w.selectDevicePath(QStringLiteral("/dev/ttyUSB7"));
        }
        {
            MainWindow w;
            QCOMPARE(w.link().portSettings().devicePath, QStringLiteral("/dev/ttyUSB7"));
            QCOMPARE(w.link().portName(), QStringLiteral("/dev/ttyUSB7"));
            QVERIFY(!w.findChild<QAction *>(QStringLiteral("MenuSetCom(5)"))->isChecked());
            w.findChild<QAction *>(QStringLiteral("MenuSetCom(2)"))->trigger();
        }
        {
            MainWindow w;
            QCOMPARE(w.link().portSettings().comPort, 2);
            QVERIFY(w.link().portSettings().devicePath.isEmpty());
        }
        // A file that cannot be written: no message, nothing breaks.
        QFile plain(m_dir.filePath(QStringLiteral("plain")));
        QVERIFY(plain.open(QIODevice::WriteOnly));
        plain.close();
        config::setConfigurationPath(plain.fileName() + QStringLiteral("/KPR5Writer.INI"));
        {
            MainWindow w;
            QCOMPARE(w.link().portSettings().comPort, 1);
            w.findChild<QAction *>(QStringLiteral("MenuSetCom(9)"))->trigger();
            QCOMPARE(w.link().portSettings().comPort, 9);
        }
        QVERIFY(messages.records.isEmpty());
    }
};

QTEST_MAIN(ConfigurationTest)
#include "tst_configuration.moc"
