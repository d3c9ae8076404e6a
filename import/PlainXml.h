#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringView>
#include <QVarLengthArray>

// What an XML reader reports of a document, as the song readers take it.
enum class XmlToken { StartElement, EndElement, Characters, EndDocument };

// A reader of the plain XML that song programs write: UTF-8, an XML declaration, elements
// with attributes, text with the five predefined entities and character references, and
// comments around the root element.
//
// Written by hand for speed: QXmlStreamReader, which reads every XML document, costs the
// song scanner about eight times the reading of a small file, most of it in the generality
// such files never use. Whatever lies beyond the plain form — a DTD, CDATA, namespace
// prefixes, processing instructions, comments inside the root element, another encoding —
// and every fault is left to QXmlStreamReader: next() throws NotPlain, and the caller reads
// the document again with Qt's reader, which gives the answer or names the fault. So this
// reader never refuses a document itself, and what it takes it reads as Qt's reader does.
class PlainXmlReader {
  public:
    struct NotPlain {};

    explicit PlainXmlReader(const QByteArray& utf8);

    XmlToken next();
    // The local name of the element started or ended.
    QStringView name() const { return name_; }
    // The characters between two tags, entities replaced and line ends made LF.
    QStringView text() const { return text_; }
    // An attribute of the element started; empty when it has none of the name.
    QStringView attribute(QStringView name) const;
    // The namespace of the root element (its xmlns); the reader takes no other declarations.
    QStringView namespaceUri() const { return namespace_; }

  private:
    struct Attribute {
        QStringView name;
        QStringView value;
    };

    void readProlog();
    void readDeclaration();
    QStringView readDeclared();
    QChar readValueStart();
    void skipMisc();
    void readComment();
    XmlToken readStartTag();
    XmlToken readEndTag();
    XmlToken endElement();
    void readText();
    void readAttribute();
    QStringView readName();
    bool skipSpace();
    bool skip(QStringView literal);
    void expect(bool condition) const {
        if (!condition) throw NotPlain{};
    }
    QChar at(qsizetype i) const { return i < doc_.size() ? doc_[i] : QChar(); }

    QString doc_;
    qsizetype at_ = 0;
    QList<QStringView> open_;  // the elements started and not yet ended, the root first
    QStringView name_;
    QStringView text_;
    QString decoded_;  // text_ when entities or line ends had to be replaced
    QVarLengthArray<Attribute, 8> attributes_;
    QList<QString> decodedValues_;  // the values in which references had to be replaced
    QString namespace_;
    bool emptyElement_ = false;  // "<br/>": its end comes with the next call
    bool ended_ = false;
};
