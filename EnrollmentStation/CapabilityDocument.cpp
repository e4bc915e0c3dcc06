#include "CapabilityDocument.h"

#include <libxml/globals.h>
#include <libxml/parser.h>
#include <libxml/tree.h>
#include <libxml/xmlerror.h>

#include <cstring>
#include <mutex>

#include "BaseSDK/TextEncoding.h"

namespace EnrollmentStation {

namespace {

void silentError(void*, const char*, ...) {}
void silentStructuredError(void*, xmlErrorPtr) {}

// A reply that is not XML is an expected answer here, not something to
// print on the client's standard error. libxml2 keeps its error handlers
// per thread, so this affects only the calling thread, and only while the
// document is parsed.
class QuietXmlErrors {
public:
    QuietXmlErrors()
        : m_generic(xmlGenericError),
          m_genericContext(xmlGenericErrorContext),
          m_structured(xmlStructuredError),
          m_structuredContext(xmlStructuredErrorContext) {
        xmlSetGenericErrorFunc(nullptr, silentError);
        xmlSetStructuredErrorFunc(nullptr, silentStructuredError);
    }
    ~QuietXmlErrors() {
        xmlSetGenericErrorFunc(m_genericContext, m_generic);
        xmlSetStructuredErrorFunc(m_structuredContext, m_structured);
    }
    QuietXmlErrors(const QuietXmlErrors&) = delete;
    QuietXmlErrors& operator=(const QuietXmlErrors&) = delete;

private:
    xmlGenericErrorFunc m_generic;
    void* m_genericContext;
    xmlStructuredErrorFunc m_structured;
    void* m_structuredContext;
};

// The parsed document, freed on every path.
struct XmlDoc {
    explicit XmlDoc(const std::string& text) {
        static std::once_flag initialised;
        std::call_once(initialised, [] { xmlInitParser(); });
        QuietXmlErrors quiet;
        doc = xmlParseDoc(reinterpret_cast<const xmlChar*>(text.c_str()));
    }
    ~XmlDoc() {
        if (doc) xmlFreeDoc(doc);
    }
    XmlDoc(const XmlDoc&) = delete;
    XmlDoc& operator=(const XmlDoc&) = delete;

    xmlNodePtr root() const { return doc ? xmlDocGetRootElement(doc) : nullptr; }

    xmlDocPtr doc = nullptr;
};

// The fixed-order walk over the root's direct element children; `onFound`
// gets the index of each name found and its element.
template <size_t N, typename OnFound>
void scanChildren(xmlNodePtr root, const char* const (&names)[N], OnFound onFound) {
    xmlNodePtr start = root->children;
    for (size_t i = 0; i < N; ++i) {
        xmlNodePtr node = start;
        while (node && !(node->type == XML_ELEMENT_NODE &&
                         xmlStrcmp(node->name, reinterpret_cast<const xmlChar*>(names[i])) == 0)) {
            node = node->next;
        }
        if (node) {
            onFound(i, node);
            start = node->next;
        }
    }
}

bool textIsTrue(xmlNodePtr node) {
    xmlChar* content = xmlNodeGetContent(node);
    if (!content) return false;
    const char* text = reinterpret_cast<const char*>(content);
    const bool value = std::strcmp(text, "true") == 0 || std::strcmp(text, "1") == 0;
    xmlFree(content);
    return value;
}

}  // namespace

CapabilityFlags scanCapabilityDocument(const std::string& text) {
    CapabilityFlags flags;
    if (text.empty()) return flags;
    XmlDoc document(text);
    xmlNodePtr root = document.root();
    if (!root) return flags;

    static const char* const kNames[] = {"isSupportRFCardCfg", "isSupportCaptureCardInfo",
                                         "isSupportCaptureIDInfo", "isSupportCaptureCardRule",
                                         "isSupportCapturePresetParam"};
    bool* const fields[] = {&flags.rfCardCfg, &flags.captureCardInfo, &flags.captureIDInfo,
                            &flags.captureCardRule, &flags.capturePresetParam};
    scanChildren(root, kNames, [&](size_t i, xmlNodePtr node) { *fields[i] = textIsTrue(node); });
    return flags;
}

AbilityFlags scanAbilityDocument(const char* buffer, size_t size) {
    AbilityFlags flags;
    const std::string text = textUpToNul(buffer, size);
    if (text.empty()) return flags;
    XmlDoc document(text);
    xmlNodePtr root = document.root();
    if (!root) return flags;

    static const char* const kNames[] = {"CaptureFingerPrint", "CaptureFace"};
    bool* const fields[] = {&flags.captureFingerPrint, &flags.captureFace};
    scanChildren(root, kNames, [&](size_t i, xmlNodePtr) { *fields[i] = true; });
    return flags;
}

}  // namespace EnrollmentStation
