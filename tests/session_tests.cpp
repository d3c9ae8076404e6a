// The catalogue session without windows: what its commands tell the user and the windows.
#include <gtest/gtest.h>
#include <QDir>
#include <memory>

#include "session/CatalogueSession.h"
#include "store/Cp1251.h"
#include "tests/helpers/TempCatalogue.h"

namespace {

// Answers every question with Yes and keeps what the user and the windows were told, in order.
class SessionTest : public ::testing::Test, public Feedback {
  protected:
    SessionTest() : previousDir_(QDir::currentPath()) {}
    ~SessionTest() override { QDir::setCurrent(previousDir_); }

    MsgButton message(MsgKind, const QString& text, int) override {
        told << text;
        return Yes;
    }
    void errorReport(const QString& description) override { told << "report: " + description; }

    void open() {
        QDir::setCurrent(cat.startDir());
        session = std::make_unique<CatalogueSession>();
        session->Open(*this);
        const auto record = [this](const char* what) {
            return [this, what](const QByteArray& name) { told << what + cp1251::decode(name); };
        };
        QObject::connect(session.get(), &CatalogueSession::performerFilesChanged, record("files "));
        QObject::connect(session.get(), &CatalogueSession::performerDeleted, record("deleted "));
        QObject::connect(session.get(), &CatalogueSession::performerRenamed,
                         [this](const QByteArray& from, const QByteArray& to) {
                             told << "renamed " + QString(from) + " " + QString(to);
                         });
    }

    TempCatalogue cat;
    std::unique_ptr<CatalogueSession> session;
    QStringList told;

  private:
    QString previousDir_;
};

TEST_F(SessionTest, EveryCommandSaysWhatItChanged) {
    cat.addPerformer("A", "X\r\n", "X##-**~\r\ns\r\nendalbum\r\n", "");
    open();
    session->AddPerformer("B", *this);
    session->ChoosePerformer(0, *this);
    session->SaveAlbumList({"X", "Y"}, *this);
    session->ChooseAlbum(0, *this);
    session->SaveSongList({"s", "t"}, *this);
    session->ChooseSong(0, *this);
    session->SaveSongText({"la"}, *this);
    session->RenameSong("A", "X", "s", "u", *this);
    EXPECT_EQ(session->TextKey(), "X ##-**~ u");
    EXPECT_EQ(session->Songs(), (Lines{"u", "t"}));
    EXPECT_EQ(session->SongIndex(), 0);
    session->RenameAlbum("A", "X", "Z", *this);
    EXPECT_EQ(session->Albums(), (Lines{"Z", "Y"}));
    session->RenamePerformer("B", "C", *this);
    EXPECT_EQ(session->Performers(), (Lines{"A", "C"}));
    session->ChoosePerformer(1, *this);
    session->DeletePerformer(*this);
    EXPECT_EQ(told, (QStringList{"files B", "files A", "files A", "files A", "files A", "files A",
                                 "renamed B C",
                                 QStringLiteral("Вы уверены что хотите удалить исполнителя?\r"
                                                "Востановление будет невозможно!"),
                                 "deleted C"}));
    EXPECT_EQ(cat.read("Data/performers.lrx"), "A\r\n");
    EXPECT_EQ(cat.read("Data/A/Texts.lrx"), "Z ##-**~ u\r\nla\r\nendsong\r\n");
}

}  // namespace
