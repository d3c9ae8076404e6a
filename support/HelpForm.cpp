#include "support/HelpForm.h"

#include <QFrame>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextDocument>

#include "session/CatalogueSession.h"
#include "support/Appearance.h"

namespace {

// The help text is part of the window's design. Headings stand towards the middle;
// paragraphs start with four blanks; two empty lines part the sections.
const char kHelpText[] = R"(                              CANTORIA
                        каталог текстов песен


                    ЗАЧЕМ НУЖНА ЭТА ПРОГРАММА

    Рано или поздно каждый любитель музыки сталкивается с тем, что дискографию любимого
исполнителя нужно привести в порядок. Эта программа создаёт, редактирует и показывает
списки альбомов и песен и тексты песен, позволяет прикрепить к альбомам картинки и выбрать
цветовую схему. За несколько минут у вас будет быстрая база, в которой легко найти нужную
песню.


                           ЧТО НОВОГО?

    v2.0.0.0
- переименование исполнителей, альбомов и песен, введённых ранее.
    v2.5.0.0
- сканер песен.
    v2.6.0.0
- файлы RTF в сканере песен;
- удаление картинки альбома.
    v2.7.0.0
- переработано добавление исполнителя из базы.


                    КАК РАБОТАТЬ С ПРОГРАММОЙ

    У программы два режима: просмотр и редактирование. Режим редактирования включается и
выключается кнопкой с шестерёнкой в левом нижнем углу окна.
    В режиме редактирования добавляются и изменяются исполнители и их данные. Альбомы и
песни добавляются и удаляются в редакторах списков альбомов и песен. В этих редакторах
нельзя дать существующей записи новое имя: изменённая строка считается новой записью.
Для переименования пользуйтесь кнопками переименования.
    К каждому альбому можно прикрепить картинку. Она показывается при выборе альбома, а
щелчок правой кнопкой мыши по ней открывает меню, через которое картинку можно открыть в
отдельном окне.
    Цвета и шрифт выбираются щелчком правой кнопкой мыши по тексту песни.
    Все данные исполнителя, включая картинки, хранятся в папке "Data", в подпапке с именем
исполнителя. Удаление исполнителя удаляет эту папку безвозвратно.
    Папку с данными не обязательно передавать вместе с программой: программа сама создаёт
нужные ей папки и файлы.


                           СКАНЕР ПЕСЕН

    На дисках с MP3 тексты песен часто лежат в папке "Texts". Укажите сканеру такую папку, и
он за секунды соберёт полную базу песен исполнителя: каждая подпапка считается именем
альбома, а каждый файл в ней - одной из песен этого альбома. Читаются файлы TXT и RTF.


                             ОТ АВТОРА

    Свои предложения и сообщения об ошибках присылайте по адресу
cantoria-feedback@example.org.
    Новые версии программы, сведения об исполнителях (биографии, тексты песен, фотографии)
и готовые базы ищите на сайте проекта: https://cantoria.example.org
)";

}  // namespace

QString THelpForm::HelpText() {
    return QString::fromUtf8(kHelpText);
}

THelpForm::THelpForm(CatalogueSession& session, QWidget* parent) : Form(session, parent) {
    setObjectName(QStringLiteral("HelpForm"));
    setWindowTitle(QStringLiteral("Справка"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowCloseButtonHint);
    setFixedSize(470, 381);
    setFont(DesignedFont());

    Memo1 = new QPlainTextEdit(this);
    Memo1->setGeometry(0, 0, 470, 343);
    Memo1->setReadOnly(true);
    Memo1->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    Memo1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo1->setLineWrapMode(QPlainTextEdit::WidgetWidth);

    Panel1 = new QFrame(this);
    Panel1->setGeometry(0, 343, 470, 38);
    Button1 = new QPushButton(QStringLiteral("Закрыть"), Panel1);
    Button1->setGeometry((470 - 75) / 2, 8, 75, 25);
    Button1->setDefault(true);
    // The help keeps its own face and size; it takes the user's colours.
    TakeAppearance({{Memo1, TextControlRule{false, false, true, true}}}, {Panel1});
    connect(Button1, &QPushButton::clicked, this, &THelpForm::Button1Click);
}

// The text and its font are laid out when the window first shows: the program's start, which
// creates this window hidden, does not wait for them.
void THelpForm::showEvent(QShowEvent* event) {
    if (Memo1->document()->isEmpty()) {
        QFont helpFont(QStringLiteral("MS Sans Serif"));
        helpFont.setPixelSize(13);
        Memo1->setFont(helpFont);
        Memo1->setPlainText(HelpText());
    }
    Form::showEvent(event);
}

void THelpForm::Button1Click() {
    close();
}
