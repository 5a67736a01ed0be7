#include "xml/xmlNameValue.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

namespace brimlow {
namespace {

std::string Order(const TNameValueList<>& list) {
  std::string out;
  for (const TNameValue& node : list)
    out += node.Name + '=' + node.Value + ' ';
  return out;
}

std::string Order(const TAttrList& list) {
  std::string out;
  for (const TAttr& node : list)
    out += node.Name + '=' + node.Value + ' ';
  return out;
}

TEST(NameValueList, AddKeepsNamesOrderedAndPutsEqualNamesInFront) {
  TNameValueList<> list;
  for (const auto& [name, value] : std::vector<std::pair<std::string, std::string>>{
           {"m", "1"}, {"b", "2"}, {"ab", "3"}, {"m", "4"}, {"a", "5"}, {"z", "6"}, {"m", "7"}}) {
    list.Add(std::make_unique<TNameValue>(name, value));
  }
  EXPECT_EQ(Order(list), "a=5 ab=3 b=2 m=7 m=4 m=1 z=6 ");
}

TEST(NameValueList, BytesAboveAsciiSortAfterAscii) {
  // Byte-wise comparison: 0xC0 is higher than "z", whatever char's sign.
  TNameValueList<> list;
  list.Add(std::make_unique<TNameValue>("\xC0", "high"));
  list.Add(std::make_unique<TNameValue>("z", "low"));
  EXPECT_EQ(list[0].Name, "z");
  EXPECT_EQ(list.ValueOf("\xC0"), "high");
}

TEST(NameValueList, FindByHalving) {
  TNameValueList<> list;
  EXPECT_EQ(list.Find("a"), nullptr) << "an empty list finds nothing";
  for (const char* name : {"c", "a", "e", "b", "d"})
    list.Add(std::make_unique<TNameValue>(name, name));
  for (const char* name : {"a", "b", "c", "d", "e"}) {
    ASSERT_NE(list.Find(name), nullptr) << name;
    EXPECT_EQ(list.Find(name)->Name, name);
  }
  for (const char* name : {"", "0", "aa", "f", "cc"})
    EXPECT_EQ(list.Find(name), nullptr) << name;
  EXPECT_EQ(list.ValueOf("f"), "");
}

TEST(NameValueList, RemoveAndClearDestroyElements) {
  TNameValueList<> list;
  list.Add(std::make_unique<TNameValue>("a", "1"));
  TNameValue& b = list.Add(std::make_unique<TNameValue>("b", "2"));
  EXPECT_TRUE(list.Remove(&b));
  EXPECT_FALSE(list.Remove(&b));
  EXPECT_EQ(Order(list), "a=1 ");
  list.Clear();
  EXPECT_TRUE(list.Empty());
  EXPECT_EQ(list.Find("a"), nullptr);
}

// The order Add must give and the element Find must give, computed the
// plain way: insertion in front of the first name not lower, and halving
// over the whole ordered list.
class ReferenceList {
 public:
  void Add(const std::string& name, int id) {
    auto at =
        std::lower_bound(FItems.begin(), FItems.end(), name,
                         [](const auto& item, const std::string& n) { return item.first < n; });
    FItems.insert(at, {name, id});
  }
  int Find(const std::string& name) const {
    std::size_t low = 0, high = FItems.size();
    std::ptrdiff_t last = -1;
    for (;;) {
      const std::size_t middle = (low + high) / 2;
      if (static_cast<std::ptrdiff_t>(middle) == last || middle >= FItems.size()) return -1;
      const int order = FItems[middle].first.compare(name);
      if (order == 0) return FItems[middle].second;
      (order < 0 ? low : high) = middle;
      last = static_cast<std::ptrdiff_t>(middle);
    }
  }
  std::vector<std::pair<std::string, int>> FItems;
};

std::string Ids(const TNameValueList<>& list) {
  std::string out;
  for (const TNameValue& node : list)
    out += node.Value + ' ';
  return out;
}

std::string Ids(const ReferenceList& list) {
  std::string out;
  for (const auto& [name, id] : list.FItems)
    out += std::to_string(id) + ' ';
  return out;
}

TEST(NameValueList, ManyAddsAndFindsAnswerAsAddingInPlaceWould) {
  // Lists large enough that added elements wait before they are put in
  // order; duplicates are frequent, and look-ups come between the adds.
  std::mt19937 random(11);
  for (const int names : {3, 40, 2000}) {
    TNameValueList<> list;
    ReferenceList reference;
    for (int i = 0; i < 3000; ++i) {
      const std::string name = "n" + std::to_string(random() % names);
      list.Add(std::make_unique<TNameValue>(name, std::to_string(i)));
      reference.Add(name, i);
      if (i % 7 == 0) {
        const std::string probe = "n" + std::to_string(random() % (names + 5));
        const TNameValue* found = list.Find(probe);
        ASSERT_EQ(found ? std::stoi(found->Value) : -1, reference.Find(probe))
            << names << " names, after " << i << " adds, " << probe;
      }
      if (i % 500 == 0) {
        ASSERT_EQ(Ids(list), Ids(reference)) << names << " names, " << i;
      }
    }
    EXPECT_EQ(Ids(list), Ids(reference));
    EXPECT_EQ(list.Count(), 3000);
    EXPECT_EQ(list[0].Value, std::to_string(reference.FItems[0].second));
  }
}

TEST(NameValueList, ShortListsWithFewNamesFindAsHalvingWould) {
  // Few elements, all still waiting to be put in order, several of a name.
  std::mt19937 random(5);
  for (int trial = 0; trial < 300; ++trial) {
    TNameValueList<> list;
    ReferenceList reference;
    for (int i = 0; i < 40; ++i) {
      const std::string name(1, static_cast<char>('a' + random() % 4));
      list.Add(std::make_unique<TNameValue>(name, std::to_string(i)));
      reference.Add(name, i);
      const std::string probe(1, static_cast<char>('a' + random() % 5));
      const TNameValue* found = list.Find(probe);
      ASSERT_EQ(found ? std::stoi(found->Value) : -1, reference.Find(probe))
          << "trial " << trial << ", " << i + 1 << " elements, " << probe;
    }
  }
}

TEST(NameValueList, ReplaceKeepsThePlaceAndHandsTheOldOneBack) {
  TNameValueList<> list;
  for (int i = 0; i < 100; ++i) {
    list.Add(std::make_unique<TNameValue>("k" + std::to_string(99 - i), std::to_string(i)));
  }
  TNameValue* old = list.Find("k50");
  ASSERT_NE(old, nullptr);
  std::unique_ptr<TNameValue> back = list.Replace(old, std::make_unique<TNameValue>("k50", "new"));
  EXPECT_EQ(back.get(), old);
  EXPECT_EQ(list.ValueOf("k50"), "new");
  EXPECT_EQ(list.Count(), 100);
  EXPECT_EQ(list.Replace(old, std::make_unique<TNameValue>("k50", "again")), nullptr)
      << "no longer in the list";
  std::string previous;
  for (const TNameValue& node : list) {
    EXPECT_LT(previous, node.Name);
    previous = node.Name;
  }
  std::unique_ptr<TNameValue> taken = list.Take(list.Find("k7"));
  ASSERT_NE(taken, nullptr);
  EXPECT_EQ(taken->Name, "k7");
  EXPECT_EQ(list.Find("k7"), nullptr);
  EXPECT_EQ(list.Count(), 99);
}

struct ParseCase {
  const char* label;
  const char* input;
  const char* attributes;
  const char* stop;  // the text from the stop position on
};

class ParseFromTest : public ::testing::TestWithParam<ParseCase> {};

TEST_P(ParseFromTest, ReadsAttributes) {
  const ParseCase& c = GetParam();
  TAttrList list;
  const TPosition stop = list.ParseFrom(c.input);
  EXPECT_EQ(Order(list), c.attributes);
  EXPECT_STREQ(stop, c.stop);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ParseFromTest,
    ::testing::Values(ParseCase{"two", " a=\"1\" b='2'>rest", "a=1 b=2 ", ">rest"},
                      ParseCase{"spaces_around_equals", " a \t= \n\"1\">", "a=1 ", ">"},
                      ParseCase{"other_quote_inside", " a=\"it's\" b='say \"x\"'>",
                                "a=it's b=say \"x\" ", ">"},
                      ParseCase{"gt_inside_value", " a=\"1>2\">", "a=1>2 ", ">"},
                      ParseCase{"stops_at_slash", " a=\"1\"/>", "a=1 ", "/>"},
                      ParseCase{"stops_at_question_mark", " v=\"1\"?>", "v=1 ", "?>"},
                      ParseCase{"name_without_value_adds_nothing", " a b=\"2\">", "a=2 ", ">"},
                      ParseCase{"junk_before_equals_passed_over", " a x = \"1\">", "a=1 ", ">"},
                      ParseCase{"junk_before_value_passed_over", " a= x \"1\">", "a=1 ", ">"},
                      ParseCase{"unquoted_value_never_closes", " a=1>", "", ">"},
                      ParseCase{"unclosed_value_runs_to_end", " a=\"open", "a=open ", ""},
                      ParseCase{"duplicates_later_first", " b=\"1\" b=\"2\">", "b=2 b=1 ", ">"},
                      ParseCase{"digit_cannot_start_a_name", " 1a=\"1\">", "", "1a=\"1\">"},
                      ParseCase{"cyrillic_byte_starts_a_name", " \xC0=\"1\">", "\xC0=1 ", ">"},
                      ParseCase{"empty", "", "", ""}),
    [](const auto& info) { return std::string(info.param.label); });

TEST(AttrList, DuplicateNameValueOfGivesTheFirstWritten) {
  TAttrList list;
  list.ParseFrom(" b=\"1\" b=\"2\"");
  EXPECT_EQ(list.ValueOf("b"), "1");
}

TEST(AttrList, ParseFromOrdersLikeAddingOneByOne) {
  // Many attributes, many of them sharing names: the bulk ordering must give
  // exactly the list that Add gives, element for element.
  std::mt19937 random(7);
  for (const int count : {3, 20, 33, 500}) {
    std::string tag;
    TNameValueList<TAttr> expected;
    for (int i = 0; i < count; ++i) {
      const std::string name =
          std::string(1, static_cast<char>('a' + random() % 6)) + (random() % 2 ? "x" : "");
      const std::string value = std::to_string(i);
      tag += ' ' + name + "=\"" + value + '"';
      expected.Add(std::make_unique<TAttr>(name, value));
    }
    TAttrList list;
    list.ParseFrom(tag.c_str());
    ASSERT_EQ(list.Count(), expected.Count());
    for (int i = 0; i < list.Count(); ++i) {
      EXPECT_EQ(list[i].Name, expected[i].Name) << count << " attributes, element " << i;
      EXPECT_EQ(list[i].Value, expected[i].Value) << count << " attributes, element " << i;
    }
    for (const char* name : {"a", "bx", "f", "q"})
      EXPECT_EQ(list.ValueOf(name), expected.ValueOf(name));
  }
}

TEST(AttrList, ATagKeepsItsFirstAttributesUpToTheLimit) {
  const std::size_t limit = TAttrList::kMaxAttributes;
  for (const std::size_t written : {limit - 1, limit, limit + 1, 5 * limit}) {
    std::string tag;
    for (std::size_t i = 0; i < written; ++i)
      tag += " a" + std::to_string(i) + "=\"" + std::to_string(i) + '"';
    tag += " last=\"x\">rest";
    TAttrList list;
    const TPosition stop = list.ParseFrom(tag.c_str());
    EXPECT_STREQ(stop, ">rest") << written << " attributes: the tag is read to its end";
    EXPECT_EQ(static_cast<std::size_t>(list.Count()), std::min(written + 1, limit));
    EXPECT_EQ(list.ValueOf("a0"), "0");
    EXPECT_EQ(list.ValueOf("a" + std::to_string(limit - 2)), std::to_string(limit - 2));
    EXPECT_EQ(list.ValueOf("last"), written < limit ? "x" : "") << written << " attributes";
  }
}

TEST(AttrList, ParseFromEmptiesTheListFirst) {
  TAttrList list;
  list.ParseFrom(" a=\"1\" b=\"2\" c=\"3\"");
  list.ParseFrom(" d=\"4\"");
  EXPECT_EQ(Order(list), "d=4 ");
}

TEST(NameValue, DisplayNames) {
  EXPECT_STREQ(DisplayName(TAttrValueKind::Default), "Default");
  EXPECT_STREQ(DisplayName(TAttrType::CData), "CDATA");
  EXPECT_STREQ(DisplayName(TAttrType::Notation), "Notation");
  EXPECT_STREQ(DisplayName(TAttrType::NmTokens), "NMTOKENS");
  EXPECT_STREQ(DisplayName(TAttrDefaultKind::Required), "Required");
  EXPECT_STREQ(DisplayName(TElemContentKind::ChildsOnly), "Childs only");
}

}  // namespace
}  // namespace brimlow
