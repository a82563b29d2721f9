#include "Loader.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <sstream>

#include "BasicNode.h"
#include "BooleanNode.h"
#include "CategoryNode.h"
#include "CommandNode.h"
#include "ConverterNode.h"
#include "EnumEntryNode.h"
#include "EnumerationNode.h"
#include "Excerpt.h"
#include "FloatNode.h"
#include "FloatRegNode.h"
#include "IntConverterNode.h"
#include "IntRegNode.h"
#include "IntSwissKnifeNode.h"
#include "IntegerNode.h"
#include "NodeMap.h"
#include "NumberText.h"
#include "PortNode.h"
#include "RegisterNode.h"
#include "StringNode.h"
#include "StringRegNode.h"
#include "SwissKnifeNode.h"

namespace GenApi {
namespace Detail {

namespace {
constexpr int kMaxGroupNesting = 64;
} // namespace

Loader::Loader(NodeMap& map) : mMap(map) {}

void Loader::Load(std::string text)
{
    // Parsed in place in the text the map keeps: names and texts stay where
    // they are. An element's text is kept as its value rather than as a node
    // of its own, which halves the nodes of a description.
    const unsigned int options = pugi::parse_cdata | pugi::parse_escapes | pugi::parse_embed_pcdata;
    mSize = text.size();
    mBuffer = mMap.AdoptText(std::move(text));
    pugi::xml_parse_result result = mDocument.load_buffer_inplace(mBuffer, mSize, options);
    if (result && result.encoding != pugi::encoding_utf8) {
        // Another encoding was converted in a buffer of the parser's own; the
        // text is written out as UTF-8 and parsed in place once more.
        std::ostringstream utf8;
        mDocument.save(utf8, "", pugi::format_raw | pugi::format_no_declaration, pugi::encoding_utf8);
        std::string converted = utf8.str();
        mSize = converted.size();
        mBuffer = mMap.AdoptText(std::move(converted));
        result = mDocument.load_buffer_inplace(mBuffer, mSize, options, pugi::encoding_utf8);
    }
    if (!result) {
        throw RUNTIME_EXCEPTION("The description is not well-formed XML: %s (line %d)", result.description(),
                                Line(result.offset));
    }
    const pugi::xml_node root = mDocument.document_element();
    if (!root || std::strcmp(root.name(), "RegisterDescription") != 0) {
        throw RUNTIME_EXCEPTION("The description's root element is <%s>, not <RegisterDescription>",
                                root ? root.name() : "");
    }
    // First every node, so that references may name nodes described further on.
    // Descriptions hold one node per 70 to 400 bytes: the lists are reserved
    // for the most (what is not filled is never touched), the name index,
    // which is filled in as it is made, for the fewest, to grow when needed.
    mPending.reserve(mSize / 64 + 16);
    mMap.ReserveDependents(mSize / 64 + 16);
    mMap.Reserve(mSize / 64 + 16, mSize / 400 + 16);
    Collect(root, 0);
    ConfigureAll();
    for (const Pending& pending : mPending) {
        pending.mNode->Finish(pending.mElement, *this);
    }
    for (const auto& hidden : mHidden) {
        hidden.first->Finish(hidden.second, *this);
    }
    for (const Warning& warning : mWarnings) {
        std::string text = warning.mFirst + "; ignored";
        if (warning.mMore > 0) {
            text += " (and " + std::to_string(warning.mMore) + " more <" + std::string(warning.mElement) +
                    "> like it)";
        }
        mMap.AddWarning(std::move(text));
    }
}

void Loader::Warn(const pugi::xml_node& element, const std::string& what)
{
    const std::string_view name = element.name();
    for (Warning& warning : mWarnings) {
        if (warning.mElement == name) {
            ++warning.mMore;
            return;
        }
    }
    mWarnings.push_back({name, what, 0});
}

void Loader::ConfigureAll()
{
    IntRegNode* first = nullptr;
    pugi::xml_node firstStruct;
    for (const Pending& pending : mPending) {
        if (pending.mStruct) {
            // A StructReg's own elements are read for its first entry; the
            // entries after it take them over, with the same dependencies.
            auto* entry = static_cast<IntRegNode*>(pending.mNode);
            if (pending.mStruct != firstStruct) {
                mRecorded.clear();
                mRecording = true;
                entry->Configure(pending.mStruct, *this);
                mRecording = false;
                first = entry;
                firstStruct = pending.mStruct;
            } else {
                entry->TakeStructSettings(*first);
                for (const auto& recorded : mRecorded) {
                    Depend(*recorded.first, *entry, recorded.second);
                }
            }
        }
        pending.mNode->Configure(pending.mElement, *this);
    }
}

void Loader::Collect(const pugi::xml_node& parent, int depth)
{
    for (pugi::xml_node child = parent.first_child(); child; child = child.next_sibling()) {
        if (child.type() != pugi::node_element) {
            continue;
        }
        const Tag tag = TagOf(child.name());
        switch (tag) {
        case Tag::Group:
            if (depth >= kMaxGroupNesting) {
                Fail(child, "groups nest deeper than %d levels", kMaxGroupNesting);
            }
            Collect(child, depth + 1);
            break;
        case Tag::StructReg:
            CreateStruct(child);
            break;
        case Tag::Node:
        case Tag::Category:
        case Tag::Integer:
        case Tag::IntReg:
        case Tag::MaskedIntReg:
        case Tag::Boolean:
        case Tag::Command:
        case Tag::Float:
        case Tag::FloatReg:
        case Tag::String:
        case Tag::StringReg:
        case Tag::Register:
        case Tag::Enumeration:
        case Tag::SwissKnife:
        case Tag::IntSwissKnife:
        case Tag::Converter:
        case Tag::IntConverter:
        case Tag::Port:
            Create(tag, child);
            break;
        default:
            // Vendor extensions, legacy 1394 nodes and the like are not modelled.
            break;
        }
    }
}

void Loader::Create(Tag tag, const pugi::xml_node& element)
{
    // Attribute values lie in the map's copy of the text, zero-terminated.
    const std::string_view name = element.attribute("Name").value();
    if (name.empty()) {
        Fail(element, "a <%s> needs a Name", element.name());
    }
    NodePtr node;
    switch (tag) {
    case Tag::Category:
        node = mMap.Make<CategoryNode>(name);
        break;
    case Tag::Integer:
        node = mMap.Make<IntegerNode>(name);
        break;
    case Tag::IntReg:
        node = mMap.Make<IntRegNode>(name, false);
        break;
    case Tag::MaskedIntReg:
        node = mMap.Make<IntRegNode>(name, true);
        break;
    case Tag::Boolean:
        node = mMap.Make<BooleanNode>(name);
        break;
    case Tag::Command:
        node = mMap.Make<CommandNode>(name);
        break;
    case Tag::Float:
        node = mMap.Make<FloatNode>(name);
        break;
    case Tag::FloatReg:
        node = mMap.Make<FloatRegNode>(name);
        break;
    case Tag::String:
        node = mMap.Make<StringNode>(name);
        break;
    case Tag::StringReg:
        node = mMap.Make<StringRegNode>(name);
        break;
    case Tag::Register:
        node = mMap.Make<RegisterNode>(name);
        break;
    case Tag::Enumeration:
        node = mMap.Make<EnumerationNode>(name);
        break;
    case Tag::SwissKnife:
        node = mMap.Make<SwissKnifeNode>(name);
        break;
    case Tag::IntSwissKnife:
        node = mMap.Make<IntSwissKnifeNode>(name);
        break;
    case Tag::Converter:
        node = mMap.Make<ConverterNode>(name);
        break;
    case Tag::IntConverter:
        node = mMap.Make<IntConverterNode>(name);
        break;
    case Tag::Port:
        node = mMap.Make<PortNode>(name);
        break;
    default:
        node = mMap.Make<BasicNode>(name);
        break;
    }
    auto* enumeration = tag == Tag::Enumeration ? static_cast<EnumerationNode*>(node.get()) : nullptr;
    Register(std::move(node), element, pugi::xml_node());
    if (!enumeration) {
        return;
    }
    for (pugi::xml_node child = element.child("EnumEntry"); child; child = child.next_sibling("EnumEntry")) {
        const std::string_view symbolic = child.attribute("Name").value();
        if (symbolic.empty()) {
            Fail(child, "an EnumEntry needs a Name");
        }
        const std::string_view entryName = mMap.Keep({"EnumEntry_", name, "_", symbolic});
        auto entry = mMap.Make<EnumEntryNode>(entryName, symbolic);
        enumeration->AddEntry(entry.get());
        Register(std::move(entry), child, pugi::xml_node());
    }
}

void Loader::CreateStruct(const pugi::xml_node& element)
{
    // The entries share the register, so they share what is cached of it.
    auto cache = std::make_shared<RegisterCache>();
    for (pugi::xml_node child = element.child("StructEntry"); child; child = child.next_sibling("StructEntry")) {
        const std::string_view name = child.attribute("Name").value();
        if (name.empty()) {
            Fail(child, "a StructEntry needs a Name");
        }
        auto entry = mMap.Make<IntRegNode>(name, true);
        entry->ShareCache(cache);
        Register(std::move(entry), child, element);
    }
}

void Loader::Register(NodePtr node, const pugi::xml_node& element, const pugi::xml_node& structElement)
{
    if (std::strcmp(element.attribute("NameSpace").value(), "Standard") == 0) {
        node->SetNameSpace(Standard);
    }
    Node* raw = node.get();
    if (!mMap.Add(node)) {
        Fail(element, "node '%s' is defined twice", raw->NameText());
    }
    mPending.push_back({raw, element, structElement});
}

std::shared_ptr<const Formula> Loader::CompileFormula(std::string_view text, const FormulaSymbols& symbols,
                                                      Formula::Mode mode, const char* inputName)
{
    return mFormulas.Compile(text, symbols, mode, inputName);
}

Node& Loader::AddHidden(NodePtr node, const pugi::xml_node& element)
{
    Node& hidden = mMap.AddHidden(std::move(node));
    hidden.Configure(element, *this);
    mHidden.emplace_back(&hidden, element);
    return hidden;
}

std::string_view Loader::Text(const pugi::xml_node& element) const
{
    // The text an element begins with is its value (parse_embed_pcdata);
    // text after a comment, and CDATA sections, are children of their own.
    const char* value = element.value();
    const pugi::xml_node first = element.first_child();
    if (!first) {
        return Trim(value);
    }
    if (!*value && !first.next_sibling() && (first.type() == pugi::node_pcdata || first.type() == pugi::node_cdata)) {
        return Trim(first.value());
    }
    // Text split by comments or CDATA sections is one text.
    std::string joined = value;
    for (pugi::xml_node child = first; child; child = child.next_sibling()) {
        if (child.type() == pugi::node_pcdata || child.type() == pugi::node_cdata) {
            joined += child.value();
        }
    }
    return mMap.Keep({Trim(joined)});
}

int64_t Loader::Integer(const pugi::xml_node& element) const
{
    const std::string_view text = Text(element);
    int64_t value = 0;
    if (!ParseInt(text, value)) {
        Fail(element, "'%s' is not an integer", Excerpt(text).c_str());
    }
    return value;
}

double Loader::Float(const pugi::xml_node& element) const
{
    const std::string_view text = Text(element);
    double value = 0.0;
    if (!ParseFloat(text, value)) {
        Fail(element, "'%s' is not a number", Excerpt(text).c_str());
    }
    return value;
}

Number Loader::NumberOf(const pugi::xml_node& element) const
{
    const std::string_view text = Text(element);
    int64_t integer = 0;
    if (ParseInt(text, integer)) {
        return Number::Int(integer);
    }
    double value = 0.0;
    if (!ParseFloat(text, value)) {
        Fail(element, "'%s' is not a number", Excerpt(text).c_str());
    }
    return Number::Float(value);
}

int64_t Loader::IntegerAttribute(const pugi::xml_node& element, const char* name) const
{
    const pugi::xml_attribute attribute = element.attribute(name);
    if (!attribute) {
        Fail(element, "attribute %s is missing", name);
    }
    int64_t value = 0;
    if (!ParseInt(attribute.value(), value)) {
        Fail(element, "attribute %s='%s' is not an integer", name, Excerpt(attribute.value()).c_str());
    }
    return value;
}

template <class E>
E Loader::Choice(const pugi::xml_node& element, std::initializer_list<std::pair<const char*, E>> choices) const
{
    const std::string_view text = Text(element);
    for (const auto& choice : choices) {
        if (text == choice.first) {
            return choice.second;
        }
    }
    Fail(element, "'%s' is not a value of <%s>", Excerpt(text).c_str(), element.name());
}

bool Loader::YesNo(const pugi::xml_node& element) const
{
    return Choice<bool>(element, {{"Yes", true}, {"No", false}});
}

EAccessMode Loader::AccessMode(const pugi::xml_node& element) const
{
    return Choice<EAccessMode>(element, {{"RW", RW}, {"RO", RO}, {"WO", WO}, {"NA", NA}, {"NI", NI}});
}

EVisibility Loader::Visibility(const pugi::xml_node& element) const
{
    return Choice<EVisibility>(element,
                               {{"Beginner", Beginner}, {"Expert", Expert}, {"Guru", Guru}, {"Invisible", Invisible}});
}

ECachingMode Loader::Caching(const pugi::xml_node& element) const
{
    return Choice<ECachingMode>(element,
                                {{"NoCache", NoCache}, {"WriteThrough", WriteThrough}, {"WriteAround", WriteAround}});
}

ERepresentation Loader::Representation(const pugi::xml_node& element) const
{
    return Choice<ERepresentation>(element, {{"Linear", Linear},
                                             {"Logarithmic", Logarithmic},
                                             {"Boolean", Boolean},
                                             {"PureNumber", PureNumber},
                                             {"HexNumber", HexNumber},
                                             {"IPV4Address", IPV4Address},
                                             {"MACAddress", MACAddress}});
}

EEndianess Loader::Endianess(const pugi::xml_node& element) const
{
    return Choice<EEndianess>(element, {{"LittleEndian", LittleEndian}, {"BigEndian", BigEndian}});
}

ESign Loader::Sign(const pugi::xml_node& element) const
{
    return Choice<ESign>(element, {{"Unsigned", Unsigned}, {"Signed", Signed}});
}

ESlope Loader::Slope(const pugi::xml_node& element) const
{
    return Choice<ESlope>(element,
                          {{"Increasing", Increasing}, {"Decreasing", Decreasing}, {"Varying", Varying},
                           {"Automatic", Automatic}});
}

EDisplayNotation Loader::DisplayNotation(const pugi::xml_node& element) const
{
    return Choice<EDisplayNotation>(element,
                                    {{"Automatic", fnAutomatic}, {"Fixed", fnFixed}, {"Scientific", fnScientific}});
}

Node& Loader::Reference(Node& owner, const pugi::xml_node& element, Link link)
{
    return ReferenceByName(owner, element, Text(element), link);
}

Node& Loader::ReferenceByName(Node& owner, const pugi::xml_node& where, std::string_view name, Link link)
{
    auto& recent = mRecent[(reinterpret_cast<std::uintptr_t>(name.data()) / 8) % mRecent.size()];
    Node* target = recent.first == name.data() && recent.second->Name() == name ? recent.second : mMap.Find(name);
    if (!target) {
        Fail(where, "'%s' is no node of the description", Excerpt(name).c_str());
    }
    recent = {name.data(), target};
    Depend(*target, owner, link);
    return *target;
}

void Loader::Depend(Node& target, Node& owner, Link link)
{
    if (mRecording) {
        mRecorded.emplace_back(&target, link);
    }
    if (link == Link::Reads) {
        target.AddDependent(&owner);
    } else if (link == Link::Selects) {
        owner.AddDependent(&target);
    }
}

ValueRef Loader::NumericReference(Node& owner, const pugi::xml_node& element)
{
    return NumericReferenceByName(owner, element, Text(element));
}

ValueRef Loader::NumericReferenceByName(Node& owner, const pugi::xml_node& where, std::string_view name)
{
    Node& target = ReferenceByName(owner, where, name, Link::Reads);
    if (target.Kind() == NumberKind::None) {
        Fail(where, "'%s' has no numeric value", target.NameText());
    }
    return ValueRef::To(&target);
}

int Loader::Line(std::ptrdiff_t offset) const
{
    if (offset < 0) {
        return 0;
    }
    const std::size_t end = std::min(static_cast<std::size_t>(offset), mSize);
    return 1 + static_cast<int>(std::count(mBuffer, mBuffer + end, '\n'));
}

std::string Loader::Where(const pugi::xml_node& element) const
{
    std::string where = "description line " + std::to_string(Line(element.offset_debug()));
    where += ", <";
    where += element.name();
    where += ">";
    for (pugi::xml_node node = element; node; node = node.parent()) {
        const char* name = node.attribute("Name").value();
        if (*name && TagOf(node.name()) != Tag::pVariable && TagOf(node.name()) != Tag::Constant &&
            TagOf(node.name()) != Tag::Expression) {
            where += node == element ? " '" : " of node '";
            where += Excerpt(name);
            where += "'";
            break;
        }
    }
    return where;
}

} // namespace Detail
} // namespace GenApi
