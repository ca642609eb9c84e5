#pragma once
// Lists the pages of a document with object streams as qpdf 11's getAllPages
// does, without letting qpdf parse whole object streams: qpdf reads every object
// of a stream it touches with a slow tokenizer, which on a file whose page objects
// share streams with megabyte strings is most of the probe. Objects in streams are
// read with StrictObjectReader from the stream data qpdf decodes; objects outside
// them through qpdf, as getAllPages does. The walk gives up on anything qpdf would
// warn about or repair, and on whatever it is not sure of: the caller then asks
// qpdf, so the answer never says clean where qpdf would not.

#include <qpdf/QPDFObjGen.hh>

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

class QPDF;
class QPDFObjectHandle;
struct NodeFacts;

class PageTree {
public:
    PageTree();
    ~PageTree();

    // Walks the tree of `pdf`, an unencrypted document qpdf opened with at most
    // warnings the one-pass writer follows (SourceRepairs). False, with the reason
    // in `why`, when the caller must ask qpdf. qpdf's warnings while it read
    // objects of the tree go to `raised`: the walk stands when each is one the
    // one-pass writer follows (a page with a repeated key, an object stream with
    // a wrong /Length), as qpdf's own listing would have raised them.
    bool Walk(QPDF& pdf, std::string& why, std::vector<std::string>& raised);

    int32_t pages() const { return static_cast<int32_t>(m_leaves.size()); }
    // The pages, in order.
    const std::vector<QPDFObjGen>& leaves() const { return m_leaves; }
    // Every node of the tree, leaves included, parents before their kids.
    const std::vector<QPDFObjGen>& nodes() const { return m_nodes; }

private:
    struct Entry {
        int type = 0; // 1 in the file, 2 in an object stream
        int gen = 0;
        int stream = 0;
    };
    bool WalkFrom(QPDF& pdf, std::string& why);
    bool Facts(QPDF& pdf, QPDFObjGen og, NodeFacts& facts, std::string& why);
    bool LoadStream(QPDF& pdf, int stream, std::string& why);

    std::unordered_map<int, Entry> m_xref;
    std::unordered_map<int, NodeFacts> m_inStreams; // objects of the streams read so far
    std::unordered_map<int, bool> m_loaded;         // stream number -> it read cleanly
    std::vector<std::string> m_raised;              // qpdf's warnings about the streams read
    std::vector<QPDFObjGen> m_leaves;
    std::vector<QPDFObjGen> m_nodes;
};
