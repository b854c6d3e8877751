#include "platform/system_error_text.h"

#include <cerrno>

#include "platform/text.h"

namespace vx::platform {

std::u16string SystemErrorText(int error) {
    switch (error) {
        case ENOSPC:
            return u"Kein Speicherplatz mehr auf dem Datenträger";
        case EDQUOT:
            return u"Der zugeteilte Speicherplatz ist erschöpft";
        case EFBIG:
            return u"Die Datei ist zu groß";
        case EACCES:
        case EPERM:
            return u"Zugriff verweigert";
        case EROFS:
            return u"Der Datenträger ist schreibgeschützt";
        case ENOENT:
            return u"Datei oder Ordner nicht gefunden";
        case ENOTDIR:
            return u"Ein Teil des Pfades ist kein Ordner";
        case EISDIR:
            return u"Der Pfad ist ein Ordner";
        case ENAMETOOLONG:
            return u"Der Name ist zu lang";
        case EEXIST:
            return u"Die Datei existiert schon";
        case EBUSY:
        case ETXTBSY:
            return u"Die Datei ist in Gebrauch";
        case EXDEV:
            return u"Quelle und Ziel liegen auf verschiedenen Datenträgern";
        case ELOOP:
            return u"Zu viele symbolische Verknüpfungen";
        case EMFILE:
        case ENFILE:
            return u"Zu viele offene Dateien";
        case EIO:
            return u"Ein-/Ausgabefehler des Datenträgers";
        case EINVAL:
            return u"Ungültiger Name oder ungültige Anfrage";
        default:
            return u"Systemfehler " + IntText(error);
    }
}

std::u16string FileErrorText(std::u16string_view path, std::u16string_view action, int error) {
    return u"Die Datei \"" + std::u16string(path) + u"\" " + std::u16string(action) + u": " +
           SystemErrorText(error) + u".";
}

}  // namespace vx::platform
