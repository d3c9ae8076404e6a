#pragma once

#include <QDialog>
#include <deque>
#include <functional>
#include <optional>
#include <vector>

#include "support/Modal.h"

// A modal seam for tests: it answers from scripts instead of a person and records every box.
// Installed for its lifetime.
class ScriptedModal : public ModalSeam {
  public:
    ScriptedModal();
    ~ScriptedModal() override;

    // Answers for the next message boxes, in order; a box without a scripted answer gets its
    // first button (OK, or Yes).
    void answer(MsgButton button) { answers_.push_back(button); }
    // What a modally shown dialog does while it is open; run in order, one per exec.
    void onDialog(std::function<void(QDialog*)> script) { dialogs_.push_back(std::move(script)); }
    // A font choice; a valid colour is chosen with it, else the colour offered stays.
    void chooseFont(std::optional<QFont> font, QColor colour = QColor()) {
        fonts_.push_back(std::move(font));
        fontColours_.push_back(colour);
    }
    void chooseColor(std::optional<QColor> colour) { colours_.push_back(std::move(colour)); }
    void chooseFile(QString path) { files_.push_back(std::move(path)); }
    // The folder dialog's answer (empty: cancelled).
    void chooseFolder(QString path) { folders_.push_back(std::move(path)); }
    void typeText(std::optional<QString> text) { inputs_.push_back(std::move(text)); }
    // Looks at the program while each of the following message boxes is open.
    void whileMessageShown(std::function<void(const MessageBox&)> look) {
        messageLook_ = std::move(look);
    }
    // The print dialog's answer: print into this PDF file, or cancel (nullopt); `options` is
    // what the user does on the dialog's options tab, when it has one.
    void printToPdf(std::optional<QString> path, std::function<void(QWidget*)> options = {}) {
        prints_.push_back({std::move(path), std::move(options)});
    }

    const std::vector<MessageBox>& shown() const { return shown_; }
    // Dialog scripts still waiting for their dialog (a command that stopped before showing it).
    std::size_t pendingDialogs() const { return dialogs_.size(); }
    void dropPendingDialogs() { dialogs_.clear(); }
    void dropPendingAnswers() { answers_.clear(); }
    std::vector<MessageBox> takeShown();
    std::vector<OpenFileRequest> fileRequests;
    std::vector<QString> folderStarts;  // where each folder dialog opened
    std::vector<QString> execed;        // class names of dialogs shown modally
    QFont lastFontOffered;
    QColor lastColourOffered;
    QColor lastFontColourOffered;

    MsgButton message(QWidget* parent, const MessageBox& box) override;
    bool chooseFont(QWidget* parent, QFont& font, QColor& color) override;
    bool chooseColor(QWidget* parent, QColor& color) override;
    QString openFile(QWidget* parent, const OpenFileRequest& request) override;
    QString chooseFolder(QWidget* parent, const QString& title, const QString& start) override;
    bool inputText(QWidget* parent, const QString& title, const QString& prompt,
                   QString& text) override;
    int exec(QDialog* dialog) override;
    bool print(QWidget* parent, QPrinter& printer, QWidget* optionsTab) override;

  private:
    std::deque<MsgButton> answers_;
    std::deque<std::function<void(QDialog*)>> dialogs_;
    std::deque<std::optional<QFont>> fonts_;
    std::deque<QColor> fontColours_;
    std::deque<std::optional<QColor>> colours_;
    std::deque<QString> files_;
    std::deque<QString> folders_;
    std::deque<std::optional<QString>> inputs_;
    struct PrintChoice {
        std::optional<QString> path;
        std::function<void(QWidget*)> options;
    };
    std::deque<PrintChoice> prints_;
    std::vector<MessageBox> shown_;
    std::function<void(const MessageBox&)> messageLook_;
};

// A short description of a message box for assertions: "Information|OK|text".
QString Describe(const MessageBox& box);
