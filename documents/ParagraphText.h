// A paragraph's text joined over its runs and spans, and the same text rewritten with the marks
// replaced: a mark split over several runs by an office program reads and fills as one.
#pragma once

#include <pugixml.hpp>

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "documents/DocumentXml.h"

namespace kestal {

// A piece of the paragraph's text: a text node's (DOCX: a w:t element's) characters, or one
// NotText character for something that shows but is not text (a tab, a break, a picture).
struct Stretch {
    pugi::xml_node node;
    std::size_t begin = 0;
    std::size_t size = 0;
    bool text = true;
};

struct ParagraphText {
    std::string joined;
    std::vector<Stretch> stretches;
};

// The paragraph's own text: that of paragraphs inside it (a text box) is theirs.
ParagraphText ReadParagraph(DocumentFormat format, pugi::xml_node paragraph);

// Replace [begin, end) of the joined text by a value, or by the picture of that name.
struct Edit {
    std::size_t begin = 0;
    std::size_t end = 0;
    std::string value;
    std::string picture;
};

// Puts the named picture into `parent` before `before`.
using PlacePicture = std::function<void(pugi::xml_node parent, pugi::xml_node before, const std::string& name)>;

// Applies edits (in order, not overlapping) to the paragraph. What is removed goes with its
// formatting; a value takes the formatting of the run where its mark began, its line breaks and
// tabs become the format's own, and characters XML cannot hold are left out.
void Rewrite(DocumentFormat format, const ParagraphText& paragraph, const std::vector<Edit>& edits,
             const PlacePicture& placePicture);

}  // namespace kestal
