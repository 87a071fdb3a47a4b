#pragma once

#include <QString>

// Namespaces, content types and relationship types of Office Open XML used by
// the word processor.
namespace varnu {
namespace ooxml {

inline const QString kWordMain =
    QStringLiteral("http://schemas.openxmlformats.org/wordprocessingml/2006/main");
inline const QString kWordDrawing =
    QStringLiteral("http://schemas.openxmlformats.org/drawingml/2006/wordprocessingDrawing");
inline const QString kDrawingMain =
    QStringLiteral("http://schemas.openxmlformats.org/drawingml/2006/main");
inline const QString kPicture =
    QStringLiteral("http://schemas.openxmlformats.org/drawingml/2006/picture");
inline const QString kRelationships =
    QStringLiteral("http://schemas.openxmlformats.org/officeDocument/2006/relationships");
inline const QString kPackageRelationships =
    QStringLiteral("http://schemas.openxmlformats.org/package/2006/relationships");

inline const QString kOfficeDocumentRel = kRelationships + QStringLiteral("/officeDocument");
inline const QString kImageRel = kRelationships + QStringLiteral("/image");

inline const QString kTemplateMainType = QStringLiteral(
    "application/vnd.openxmlformats-officedocument.wordprocessingml.template.main+xml");
inline const QString kDocumentMainType = QStringLiteral(
    "application/vnd.openxmlformats-officedocument.wordprocessingml.document.main+xml");
inline const QString kRelationshipsType =
    QStringLiteral("application/vnd.openxmlformats-package.relationships+xml");

// EMU (English metric units) per inch and per twip.
constexpr double kEmuPerInch = 914400.0;
constexpr double kEmuPerTwip = 635.0;

}  // namespace ooxml
}  // namespace varnu
