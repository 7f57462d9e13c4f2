// Draws the main window as the demo login sees it after a search into a PNG (the README's
// picture): screenshot DATABASE OUTPUT.png [WIDTH HEIGHT]; or the login, the
// server settings, the about box and the look-up dialogs: screenshot --windows FOLDER; or the
// master-data windows of the demo firm: screenshot --masterdata DATABASE FOLDER; or the import
// dialog with a file read: screenshot --import DATABASE FILE OUTPUT.png; or the grid
// with its undercut marks and the evaluation dialogs: screenshot --analysis DATABASE FOLDER; or the
// change history of a position and the question about another user's change: screenshot --history
// DATABASE FOLDER (it changes the first position found). Run it
// under xvfb-run so that the windows have a real screen and fonts.
#include <QApplication>
#include <QComboBox>
#include <QLocale>
#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QScreen>
#include <QTabWidget>
#include <QTableView>
#include <QTimer>

#include <cstdio>

#include "access/Clock.h"
#include "access/Dialogs.h"
#include "access/FMPass.h"
#include "access/FMServer.h"
#include "access/cacheapi.h"
#include "app/ClientSetup.h"
#include "analysis/PriceComparisonDialog.h"
#include "analysis/PriceHistoryDialog.h"
#include "common/ChangeHistory.h"
#include "common/frmAbout.h"
#include "objectapi/ServerFactory.h"
#include "objectapi/ServerObject.h"
#include "store/StoreFactory.h"
#include <QAbstractButton>
#include <QMessageBox>
#include "lookup/FMArtsu.h"
#include "lookup/FMLnrsu.h"
#include "masterdata/FMPreistyp.h"
#include "masterdata/fmkonkur.h"
#include "positions/FMImport.h"
#include "positions/FMStart.h"
#include "positions/LookupTable.h"
#include "positions/PositionColumns.h"
#include "positions/PositionEvaluation.h"
#include "positions/PositionModel.h"

using namespace Qt::StringLiterals;

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    tolven::SetUpClient();
    if (arguments.size() == 3 && arguments.at(1) == u"--windows") {
        tolven::cacheapi gateway(tolven::StoreFactoryMaker());
        tolven::frmAbout about;
        // The look-up dialogs without a connection: their make-up, empty lists.
        tolven::FMArtsu articles;
        tolven::FMLnrsu suppliers;
        const QList<QWidget *> windows{&gateway.loginWindow(), &gateway.serverWindow(), &about, &articles,
                                       &suppliers};
        for (QWidget *window : windows)
            window->show();
        QTimer::singleShot(300, [&] {
            for (QWidget *window : windows)
                window->grab().save(arguments.at(2) + u'/' + window->objectName() + u".png");
            QCoreApplication::quit();
        });
        return QApplication::exec();
    }
    if (arguments.size() == 4 && arguments.at(1) == u"--masterdata") {
        tolven::cacheapi gateway(tolven::StoreFactoryMaker());
        gateway.context().CommandLine = u"1 0 MUELLER Konkur24 " + arguments.at(2);
        tolven::FMStart window;
        tolven::fmkonkur competitors;
        tolven::FMPreistyp priceTypes;
        if (!window.Form_Load() || !competitors.Form_Load() || !priceTypes.Form_Load())
            return 1;
        competitors.show();
        priceTypes.show();
        QTimer::singleShot(300, [&] {
            for (QWidget *list : {static_cast<QWidget *>(&competitors), static_cast<QWidget *>(&priceTypes)})
                list->grab().save(arguments.at(3) + u'/' + list->objectName() + u".png");
            QCoreApplication::quit();
        });
        return QApplication::exec();
    }
    if (arguments.size() == 4 && arguments.at(1) == u"--history") {
        tolven::cacheapi gateway(tolven::StoreFactoryMaker());
        gateway.context().CommandLine = u"1 0 MUELLER Konkur24 " + arguments.at(2);
        tolven::FMStart window;
        if (!window.Form_Load())
            return 1;
        window.BUSuch_Click();
        const tolven::PositionModel &positions = window.positionArray();
        const QString id = positions.cell(0, tolven::PositionColumn::UID).toString();
        // Two changes by the demo user, as a colleague's client would make them.
        store::StoreFactory other;
        other.connect(u"cn_iptcp:" + arguments.at(2) + u"[1972]:TOLVEN");
        other.classObject(u"TV.Windows"_s)->callMethod(u"Xecute"_s, {u"S FIRMA=1,FIL=0,PERSONAL=\"MUELLER\""_s});
        for (const QString &price : {u"12.40"_s, u"11.95"_s}) {
            auto position = other.openById(u"Konkur.Konkur"_s, id);
            position->setProperty(u"PreisExcl"_s, price);
            position->setProperty(u"notiz"_s, u"Flyer KW " + price.left(2));
            position->sys_save();
        }
        tolven::ChangeHistoryDialog history(u"Position " + positions.cell(0, tolven::PositionColumn::Konkur).toString()
                                                + u", Art-Nr. " + positions.cell(0, tolven::PositionColumn::Artnr).toString(),
                                            tolven::ChangeLines(tolven::ReadObjectHistory(u"Konkur.Konkur"_s, id),
                                                                tolven::FMStart::PositionChangeFields()));
        history.show();
        const tolven::ChangeEntry last = tolven::ReadObjectHistory(u"Konkur.Konkur"_s, id).value(0);
        QMessageBox question(QMessageBox::Warning, u"TOLVEN Konkurerberverwaltung"_s,
                             u"Die Position " + positions.cell(0, tolven::PositionColumn::Konkur).toString()
                                 + u", Art-Nr. " + positions.cell(0, tolven::PositionColumn::Artnr).toString()
                                 + u" wurde inzwischen " + tolven::ChangedByText(last) + u" geändert.\n\n"
                                 + u"„Neu laden“ liest die Position neu, Ihre Änderung geht verloren. „Überschreiben“ "
                                   u"speichert Ihre Änderung trotzdem. „Abbrechen“ speichert nichts weiter.",
                             tolven::ReloadButton | tolven::OverwriteButton | QMessageBox::Cancel);
        question.button(tolven::ReloadButton)->setText(u"Neu &laden"_s);
        question.button(tolven::OverwriteButton)->setText(u"Ü&berschreiben"_s);
        question.button(QMessageBox::Cancel)->setText(u"Abbrechen"_s);
        question.show();
        QTimer::singleShot(400, [&] {
            history.grab().save(arguments.at(3) + u"/Aenderungsverlauf.png");
            question.grab().save(arguments.at(3) + u"/Konflikt.png");
            QCoreApplication::quit();
        });
        return QApplication::exec();
    }
    if (arguments.size() == 5 && arguments.at(1) == u"--import") {
        tolven::cacheapi gateway(tolven::StoreFactoryMaker());
        gateway.context().CommandLine = u"1 0 MUELLER Konkur24 " + arguments.at(2);
        tolven::FMStart window;
        if (!window.Form_Load())
            return 1;
        const QString firm = gateway.context().Firm;
        tolven::FMImport import(&window, window.competitorArray(), window.priceTypeArray(), window.positionArray(),
                                [firm](const QList<tolven::ArticleQuestion> &questions) {
                                    return tolven::ServerArticleLookup(firm, questions);
                                });
        import.show();
        import.readFile(arguments.at(3));
        int status = 0;
        QTimer::singleShot(300, [&] {
            if (!import.grab().save(arguments.at(4)))
                status = 1;
            QCoreApplication::quit();
        });
        QApplication::exec();
        return status;
    }
    if (arguments.size() == 4 && arguments.at(1) == u"--analysis") {
        tolven::cacheapi gateway(tolven::StoreFactoryMaker());
        gateway.context().CommandLine = u"1 0 MUELLER Konkur24 " + arguments.at(2);
        tolven::FMStart window;
        if (!window.Form_Load())
            return 1;
        window.resize(1300, 700);
        window.show();
        window.BUSuch_Click();
        auto *grid = window.findChild<QTableView *>(u"TDBGrid1"_s);
        grid->setCurrentIndex(grid->model()->index(3, tolven::PositionColumn::PreisIncl));
        grid->scrollTo(grid->currentIndex(), QAbstractItemView::PositionAtCenter);
        QHash<QString, QString> names;
        for (int row = 0; row < window.competitorArray().rowCount(); ++row)
            names.insert(window.competitorArray().text(row, 0), window.competitorArray().text(row, 1));
        tolven::PriceComparisonDialog comparison(window.evaluation().positions(), names, tolven::Today());
        comparison.show();
        // The history of the article with the most positions.
        const tolven::PositionModel &positions = window.positionArray();
        QHash<QString, int> counts;
        int busiest = 0;
        for (int row = 0; row < positions.rowCount(); ++row) {
            const QString number = positions.cell(row, tolven::PositionColumn::Artnr).toString();
            if (++counts[number] > counts.value(positions.cell(busiest, tolven::PositionColumn::Artnr).toString()))
                busiest = row;
        }
        const QString article = positions.cell(busiest, tolven::PositionColumn::Artnr).toString();
        tolven::PriceHistoryDialog history(article, positions.cell(busiest, tolven::PositionColumn::ArtBez).toString(),
                                           window.evaluation().storedPositions(u"1"_s, article),
                                           window.evaluation().ownPriceToday(article, 1, busiest), names,
                                           tolven::Today());
        history.show();
        QTimer::singleShot(500, [&] {
            const QString folder = arguments.at(3) + u'/';
            window.grab().save(folder + u"grid-marks.png");
            comparison.grab().save(folder + u"FMPreisvergleich.png");
            comparison.findChild<QTabWidget *>(u"tabs"_s)->setCurrentIndex(1);
            QTimer::singleShot(200, [&, folder] {
                comparison.grab().save(folder + u"FMPreisindex.png");
                history.grab().save(folder + u"FMPreisverlauf.png");
                QCoreApplication::quit();
            });
        });
        return QApplication::exec();
    }
    if (arguments.size() != 3 && arguments.size() != 5) {
        std::fputs("usage: screenshot DATABASE OUTPUT.png [WIDTH HEIGHT]\n", stderr);
        return 2;
    }
    tolven::cacheapi gateway(tolven::StoreFactoryMaker());
    gateway.context().CommandLine = u"1 0 MUELLER Konkur24 " + arguments.at(1);
    tolven::FMStart window;
    if (!window.Form_Load())
        return 1;
    if (arguments.size() == 5)
        window.resize(arguments.at(3).toInt(), arguments.at(4).toInt());
    window.move(0, 0);
    window.show();
    // A search with the filters the start sets, and the competitor list open,
    // so the picture shows positions and what the login read.
    window.BUSuch_Click();
    // A current cell, so that the article column shows its button.
    auto *grid = window.findChild<QTableView *>(u"TDBGrid1"_s);
    grid->setCurrentIndex(grid->model()->index(12, tolven::PositionColumn::Artnr));
    auto *competitors = window.findChild<QComboBox *>(u"likonkur"_s);
    int status = 0;
    QTimer::singleShot(300, [&] { competitors->showPopup(); });
    QTimer::singleShot(900, [&] {
        const QRect frame = window.frameGeometry();
        const QPixmap content = window.screen()->grabWindow(0, frame.x(), frame.y(), frame.width(), frame.height());
        // Xvfb has no window manager to draw a title bar; draw one, so that
        // the picture shows the title the login gave the window.
        const int barHeight = 30;
        QImage picture(content.width(), content.height() + barHeight, QImage::Format_RGB32);
        picture.fill(QColor(0x3c, 0x4b, 0x5a));
        QPainter painter(&picture);
        painter.drawPixmap(8, 7, window.windowIcon().pixmap(16));
        painter.setPen(Qt::white);
        painter.drawText(QRect(32, 0, picture.width() - 40, barHeight), Qt::AlignVCenter | Qt::AlignLeft,
                         window.windowTitle());
        painter.drawPixmap(0, barHeight, content);
        painter.end();
        if (!picture.save(arguments.at(2)))
            status = 1;
        QCoreApplication::quit();
    });
    QApplication::exec();
    return status;
}
