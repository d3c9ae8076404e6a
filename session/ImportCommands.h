#pragma once

#include <QString>

#include "import/BaseImport.h"
#include "import/PerformerExport.h"
#include "import/SongScan.h"
#include "session/Command.h"

// The commands that bring songs in from outside the catalogue and take them out.

// What is wrong with a scan folder for the scanner, if anything: none given, or no album
// entry of it holds a song file.
std::optional<Notice> ScanFolderProblem(const QString& scanFolder);

// Turns the scan folder's album folders into the performer's catalogue: album list, song list
// and text file anew, the performer's pictures gone.
class ScanCommand : public Command {
  public:
    ScanCommand(const QByteArray& performer, const QString& scanFolder);
    CommandLabel label() const override { return {CommandKind::Scan, performer_}; }
    CommandTarget target() const override { return {performer_, {}, {}}; }
    std::optional<Notice> validate(const CatalogueSession& session) const override;
    void apply(const PerformerRepository& repository, FileSetChange& change) override;
    void succeeded(CatalogueSession& session, Feedback& feedback) override;
    void failed(CatalogueSession& session, std::exception_ptr failure, Feedback& feedback) override;

  private:
    QByteArray performer_;
    QString scanFolder_;
    ScanOutcome outcome_;
};

// The base folder as the import takes it: the performer it names, or what is wrong with it.
struct ImportBase {
    QString folder;
    QByteArray performer;  // as stored; empty when `problem` is set
    std::optional<Notice> problem;
};
ImportBase CheckImportBase(const QString& baseFolder);

// Brings another copy's performer folder in as a performer of this catalogue; a performer of
// that name is replaced after the user's OK.
class ImportCommand : public Command {
  public:
    explicit ImportCommand(const QString& baseFolder);
    CommandLabel label() const override { return {CommandKind::Import, base_.performer}; }
    CommandTarget target() const override { return {base_.performer, {}, {}}; }
    std::optional<Notice> validate(const CatalogueSession& session) const override;
    bool confirm(CatalogueSession& session, Feedback& feedback) override;
    void apply(const PerformerRepository& repository, FileSetChange& change) override;
    void succeeded(CatalogueSession& session, Feedback& feedback) override;
    void failed(CatalogueSession& session, std::exception_ptr failure, Feedback& feedback) override;
    // Whether the window is done: the import got through, or its copy failed and was undone.
    bool closes() const { return closes_; }

  private:
    void putAwayViews(CatalogueSession& session, Feedback& feedback) const;

    ImportBase base_;
    Lines before_;
    BaseImportProgress progress_;
    bool closes_ = false;
};

// Writes the chosen performer as a folder of song files in the chosen format inside `folder`;
// nothing under Data/ changes.
class ExportCommand : public Command {
  public:
    ExportCommand(const QByteArray& performer, const QString& folder,
                  ExportFormat format = ExportFormat::Text);
    CommandLabel label() const override { return {CommandKind::Export, performer_}; }
    CommandTarget target() const override { return {performer_, {}, {}}; }
    bool changesCatalogue() const override { return false; }
    // A performer and a folder are wanted.
    std::optional<Notice> validate(const CatalogueSession& session) const override;
    void apply(const PerformerRepository& repository, FileSetChange& change) override;
    void succeeded(CatalogueSession& session, Feedback& feedback) override;
    void failed(CatalogueSession& session, std::exception_ptr failure, Feedback& feedback) override;

  private:
    QByteArray performer_;
    QString folder_;
    ExportFormat format_;
    QString report_;
};
