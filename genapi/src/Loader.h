// Builds a node map from description text: parses it with pugixml, creates a
// node for every node element (looking through groups), then configures each
// node from its elements, and finally lets the nodes complete themselves.
// Whatever is malformed raises a RuntimeException naming the line and node.
#ifndef GENAPI_DETAIL_LOADER_H
#define GENAPI_DETAIL_LOADER_H

#include <array>
#include <cstddef>
#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include <pugixml.hpp>

#include <GenApi/Types.h>
#include <GenICam/GCException.h>

#include "Formula.h"
#include "FormulaCache.h"
#include "NodeMap.h"
#include "Number.h"
#include "Tags.h"
#include "ValueRef.h"

namespace GenApi {
namespace Detail {

class Node;

class Loader {
public:
    explicit Loader(NodeMap& map);
    // The map keeps the text and the nodes point into it.
    void Load(std::string text);

    // How a referring node depends on the node it names.
    enum class Link {
        Reads,   // its value or access draws on the named node, or the named node invalidates it
        Selects, // the named node depends on it (pSelected)
        Plain    // no dependency (category features, aliases)
    };

    // The element's text without surrounding white space, kept as long as the map.
    std::string_view Text(const pugi::xml_node& element) const;
    int64_t Integer(const pugi::xml_node& element) const;
    double Float(const pugi::xml_node& element) const;
    // An integer literal stays an integer, anything else is read as a double.
    Number NumberOf(const pugi::xml_node& element) const;
    int64_t IntegerAttribute(const pugi::xml_node& element, const char* name) const;
    bool YesNo(const pugi::xml_node& element) const;
    EAccessMode AccessMode(const pugi::xml_node& element) const;
    EVisibility Visibility(const pugi::xml_node& element) const;
    ECachingMode Caching(const pugi::xml_node& element) const;
    ERepresentation Representation(const pugi::xml_node& element) const;
    EEndianess Endianess(const pugi::xml_node& element) const;
    ESign Sign(const pugi::xml_node& element) const;
    ESlope Slope(const pugi::xml_node& element) const;
    EDisplayNotation DisplayNotation(const pugi::xml_node& element) const;

    // Records that `owner` depends on `target` in the given way.
    void Depend(Node& target, Node& owner, Link link);
    // The node the element names, recorded with the given dependency of `owner` on it.
    Node& Reference(Node& owner, const pugi::xml_node& element, Link link);
    Node& ReferenceByName(Node& owner, const pugi::xml_node& where, std::string_view name, Link link);
    // A reference that must yield a number (pValue, pMin, pIsAvailable, ...).
    ValueRef NumericReference(Node& owner, const pugi::xml_node& element);
    ValueRef NumericReferenceByName(Node& owner, const pugi::xml_node& where, std::string_view name);
    // The compiled formula, shared with earlier nodes that have the same one.
    std::shared_ptr<const Formula> CompileFormula(std::string_view text, const FormulaSymbols& symbols,
                                                  Formula::Mode mode, const char* inputName);
    // A node without a name of its own, described by `element` inside another node.
    Node& AddHidden(NodePtr node, const pugi::xml_node& element);

    // Raises a RuntimeException saying where in the description the problem is.
    template <class... Args>
    [[noreturn]] void Fail(const pugi::xml_node& where, const char* format, Args... args) const
    {
        const std::string what = GenICam::FormatDescription(format, args...);
        throw RUNTIME_EXCEPTION("%s: %s", Where(where).c_str(), what.c_str());
    }
    std::string Where(const pugi::xml_node& element) const;
    // An element passed over; the map keeps one warning per element name,
    // the first with how many more there were.
    void Warn(const pugi::xml_node& element, const std::string& what);

    NodeMap& Map() const { return mMap; }

private:
    template <class E>
    E Choice(const pugi::xml_node& element, std::initializer_list<std::pair<const char*, E>> choices) const;
    void Collect(const pugi::xml_node& parent, int depth);
    void Create(Tag tag, const pugi::xml_node& element);
    void CreateStruct(const pugi::xml_node& element);
    void ConfigureAll();
    void Register(NodePtr node, const pugi::xml_node& element, const pugi::xml_node& structElement);
    int Line(std::ptrdiff_t offset) const;

    NodeMap& mMap;
    // The text being parsed, which parsing changes (a line is counted in it).
    char* mBuffer = nullptr;
    std::size_t mSize = 0;
    pugi::xml_document mDocument;
    // Each node with the element that describes it; struct entries with their StructReg.
    struct Pending {
        Node* mNode;
        pugi::xml_node mElement;
        pugi::xml_node mStruct;
    };
    std::vector<Pending> mPending;
    FormulaCache mFormulas;
    // Names recently looked up, by where their text lies.
    std::array<std::pair<const char*, Node*>, 512> mRecent{};
    // While a StructReg's own elements are read for its first entry, the
    // dependencies they make, to be repeated for the other entries.
    bool mRecording = false;
    std::vector<std::pair<Node*, Link>> mRecorded;
    // Nodes without a name, with their element; they and the named nodes are
    // completed once all are configured.
    std::vector<std::pair<Node*, pugi::xml_node>> mHidden;
    struct Warning {
        std::string_view mElement;
        std::string mFirst;
        int mMore;
    };
    std::vector<Warning> mWarnings;
};

} // namespace Detail
} // namespace GenApi

#endif
