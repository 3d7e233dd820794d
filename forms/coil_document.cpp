#include "forms/coil_document.h"

CoilDocument& TheCoilDocument() {
    static CoilDocument document;
    return document;
}
