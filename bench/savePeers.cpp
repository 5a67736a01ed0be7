#include "savePeers.h"

#include <libxml/xmlwriter.h>

#include <cstdio>
#include <pugixml.hpp>
#include <stdexcept>
#include <string_view>

#include "data/dateTime.h"
#include "platform/platform.h"
#include "platform/unicode.h"

namespace brimlow::bench {

namespace {

// The program's texts in UTF-8; nothing to do when the code page is UTF-8.
class Utf8Text {
 public:
  Utf8Text() : FIdentity(platform::current().activeCodePage() == 65001) {}
  const std::string& operator()(const std::string& text) {
    if (FIdentity) return text;
    FText = platform::utf16ToUtf8(platform::current().ansiToWide(text));
    return FText;
  }

 private:
  bool FIdentity;
  std::string FText;
};

struct Field {
  const char* name;
  std::string value;
};

// The fourteen fields and the extra elements of a record as UTF-8 texts.
template <class Visit>
void ForEachField(const Tdownload& d, Utf8Text& utf8, Visit visit) {
  visit("ID", std::to_string(d.ID));
  visit("URL", utf8(d.URL));
  visit("FileName", utf8(d.FileName));
  visit("State", std::to_string(unsigned{d.State}));
  visit("Size", std::to_string(d.Size));
  visit("SaveDir", utf8(d.SaveDir));
  visit("DownloadedSize", std::to_string(d.DownloadedSize));
  visit("LastModified", utf8(d.LastModified));
  visit("ResumeMode", std::to_string(unsigned{d.ResumeMode}));
  visit("Date", DateTimeToText(d.Date));
  visit("DownloadTime", std::to_string(d.DownloadTime));
  visit("NodeID", std::to_string(d.NodeID));
  visit("Comment", utf8(d.Comment));
  visit("ContentType", utf8(d.ContentType));
  for (const std::string& entry : d.ExtraElements) {
    const size_t separator = entry.find(';');
    const std::string name = entry.substr(0, separator);
    visit(name.c_str(),
          separator == std::string::npos ? std::string() : utf8(entry.substr(separator + 1)));
  }
}

}  // namespace

void SaveWithPugixml(const TDownloadsList& list, const std::string& fileName) {
  Utf8Text utf8;
  pugi::xml_document document;
  pugi::xml_node declaration = document.append_child(pugi::node_declaration);
  declaration.append_attribute("version") = "1.0";
  declaration.append_attribute("encoding") = "utf-8";
  pugi::xml_node root = document.append_child("DownloadList");
  root.append_attribute("Version") = utf8(list.Version()).c_str();
  root.append_attribute("NextID") = utf8(list.NextID()).c_str();
  for (int i = 0; i < list.Count(); ++i) {
    root.append_child(pugi::node_pcdata).set_value("\n  ");
    pugi::xml_node record = root.append_child("DownloadFile");
    ForEachField(list[i], utf8, [&](const char* name, const std::string& value) {
      record.append_child(pugi::node_pcdata).set_value("\n    ");
      record.append_child(name).append_child(pugi::node_pcdata).set_value(value.c_str());
    });
    record.append_child(pugi::node_pcdata).set_value("\n  ");
  }
  // Raw output keeps the layout of the text nodes; line ends as the program's.
  if (!document.save_file(fileName.c_str(), "", pugi::format_raw, pugi::encoding_utf8))
    throw std::runtime_error("pugixml could not write " + fileName);
}

void SaveWithLibxml2(const TDownloadsList& list, const std::string& fileName) {
  Utf8Text utf8;
  xmlTextWriterPtr writer = xmlNewTextWriterFilename(fileName.c_str(), 0);
  if (!writer) throw std::runtime_error("libxml2 could not write " + fileName);
  const auto x = [](const std::string& text) { return BAD_CAST text.c_str(); };
  xmlTextWriterStartDocument(writer, "1.0", "utf-8", nullptr);
  xmlTextWriterStartElement(writer, BAD_CAST "DownloadList");
  xmlTextWriterWriteAttribute(writer, BAD_CAST "Version", x(utf8(list.Version())));
  xmlTextWriterWriteAttribute(writer, BAD_CAST "NextID", x(utf8(list.NextID())));
  for (int i = 0; i < list.Count(); ++i) {
    xmlTextWriterWriteString(writer, BAD_CAST "\n  ");
    xmlTextWriterStartElement(writer, BAD_CAST "DownloadFile");
    ForEachField(list[i], utf8, [&](const char* name, const std::string& value) {
      xmlTextWriterWriteString(writer, BAD_CAST "\n    ");
      xmlTextWriterWriteElement(writer, BAD_CAST name, x(value));
    });
    xmlTextWriterWriteString(writer, BAD_CAST "\n  ");
    xmlTextWriterEndElement(writer);
  }
  xmlTextWriterEndElement(writer);
  const int ended = xmlTextWriterEndDocument(writer);
  xmlFreeTextWriter(writer);
  if (ended < 0) throw std::runtime_error("libxml2 could not write " + fileName);
}

void SaveWithStrings(const TDownloadsList& list, const std::string& fileName) {
  Utf8Text utf8;
  std::string text = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n<DownloadList Version=\"";
  const auto escaped = [&text](std::string_view value, bool attribute) {
    for (const char c : value) {
      switch (c) {
        case '&': text += "&amp;"; break;
        case '<': text += "&lt;"; break;
        case '>': text += attribute ? ">" : "&gt;"; break;
        case '"': text += attribute ? "&quot;" : "\""; break;
        case '\r': text += "&#xD;"; break;
        default: text += c;
      }
    }
  };
  escaped(utf8(list.Version()), true);
  text += "\" NextID=\"";
  escaped(utf8(list.NextID()), true);
  text += "\">";
  for (int i = 0; i < list.Count(); ++i) {
    text += "\r\n  <DownloadFile>";
    ForEachField(list[i], utf8, [&](const char* name, const std::string& value) {
      text.append("\r\n    <").append(name).append(">");
      escaped(value, false);
      text.append("</").append(name).append(">");
    });
    text += "\r\n  </DownloadFile>";
  }
  text += "</DownloadList>\r\n";
  std::FILE* file = std::fopen(fileName.c_str(), "wb");
  if (!file) throw std::runtime_error("cannot write " + fileName);
  const bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size();
  if (std::fclose(file) != 0 || !written) throw std::runtime_error("cannot write " + fileName);
}

}  // namespace brimlow::bench
