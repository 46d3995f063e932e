#include "controls/document_opener.h"

#include "controls/message_box.h"
#include "platform/open_document.h"

QString OpenFailureText(const QString& address) {
    return address +
           QString::fromUtf8(" ne peut être ouvert. Vous devez utiliser un navigateur Internet "
                             "(Internet Explorer ou Firefox par exemple).");
}

void OpenDocument(const QString& address) {
    if (!OpenDocumentAddress(address))
        showMessage(MessageKind::Error, OpenFailureText(address));
}
