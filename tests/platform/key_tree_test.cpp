#include "platform/key_tree.h"

#include <gtest/gtest.h>

namespace vesk {
namespace {

std::vector<std::string> Names(const std::vector<KeyNode*>& nodes) {
  std::vector<std::string> names;
  for (const KeyNode* n : nodes) names.push_back(n->name());
  return names;
}

std::vector<std::string> Enumerate(const KeyNode& node) {
  std::vector<std::string> names;
  for (std::size_t i = 0; const KeyNode* child = node.ChildAt(i); ++i) {
    names.push_back(child->name());
  }
  return names;
}

using Strings = std::vector<std::string>;

TEST(KeyTreeTest, CreateReportsTheKeysItMadeParentsFirst) {
  KeyTree tree;
  auto first = tree.Create("A\\B");
  EXPECT_EQ(Names(first.created), (Strings{"A", "B"}));
  auto second = tree.Create("a\\b\\C\\D");
  EXPECT_EQ(Names(second.created), (Strings{"C", "D"}));
  EXPECT_EQ(second.created[0]->parent(), first.node);
  auto again = tree.Create("\\A\\\\b\\c\\d\\");
  EXPECT_TRUE(again.created.empty());
  EXPECT_EQ(again.node, second.node);
}

TEST(KeyTreeTest, FindIgnoresCaseAndKeepsTheFirstSpelling) {
  KeyTree tree;
  tree.Create("Software\\Colors");
  KeyNode* node = tree.Find("SOFTWARE\\colors");
  ASSERT_NE(node, nullptr);
  EXPECT_EQ(node->name(), "Colors");
  EXPECT_EQ(tree.Find("Software\\Color"), nullptr);
  EXPECT_EQ(tree.Find("Software\\Colors\\x"), nullptr);
  EXPECT_EQ(tree.Find(""), &tree.root());
}

TEST(KeyTreeTest, ChildrenEnumerateInCaseInsensitiveOrderInAnyStepOrder) {
  KeyTree tree;
  for (const char* name : {"b", "_z", "A", "c", "2000_3"}) tree.Create(JoinKey("P", name));
  KeyNode& p = *tree.Find("P");
  EXPECT_EQ(Enumerate(p), (Strings{"2000_3", "A", "b", "c", "_z"}));
  // Backwards and skipping must not rely on the resumed position.
  EXPECT_EQ(p.ChildAt(3)->name(), "c");
  EXPECT_EQ(p.ChildAt(1)->name(), "A");
  EXPECT_EQ(p.ChildAt(4)->name(), "_z");
  EXPECT_EQ(p.ChildAt(5), nullptr);
  // A change between steps is seen by the next step.
  ASSERT_EQ(p.ChildAt(1)->name(), "A");
  tree.Create("P\\a0");
  EXPECT_EQ(p.ChildAt(2)->name(), "a0");
  tree.Detach("P\\2000_3");
  EXPECT_EQ(p.ChildAt(2)->name(), "b");
}

TEST(KeyTreeTest, AddChildRefusesANameThatDiffersOnlyInCase) {
  KeyTree tree;
  KeyNode& root = tree.root();
  ASSERT_NE(root.AddChild("Name"), nullptr);
  EXPECT_EQ(root.AddChild("NAME"), nullptr);
  EXPECT_EQ(root.children().size(), 1u);
}

TEST(KeyTreeTest, DetachTakesTheWholeSubtreeAndLeavesSiblings) {
  KeyTree tree;
  tree.Create("A\\B\\C");
  tree.Create("A\\B2");
  auto gone = tree.Detach("a\\b");
  ASSERT_NE(gone, nullptr);
  EXPECT_EQ(gone->name(), "B");
  EXPECT_NE(gone->Child("C"), nullptr);
  EXPECT_EQ(tree.Find("A\\B"), nullptr);
  EXPECT_EQ(tree.Find("A\\B\\C"), nullptr);
  EXPECT_NE(tree.Find("A\\B2"), nullptr);
  EXPECT_EQ(tree.Detach("A\\B"), nullptr);
  EXPECT_EQ(tree.Detach(""), nullptr);
  EXPECT_EQ(tree.Detach("\\"), nullptr);
}

TEST(KeyTreeTest, ValuesKeepFirstWrittenOrderAndFirstSpelling) {
  KeyNode node("k", nullptr);
  node.SetValue("year", RegValue::FromDword(2000));
  node.SetValue("Notes", RegValue::FromString("a"));
  node.SetValue("YEAR", RegValue::FromString("now a string"));
  const ValuePairs values = node.Values();
  ASSERT_EQ(values.size(), 2u);
  EXPECT_EQ(values[0].first, "year");
  EXPECT_EQ(values[0].second, RegValue::FromString("now a string"));
  EXPECT_EQ(values[1].first, "Notes");
  EXPECT_EQ(node.FindValue("notes"), RegValue::FromString("a"));
  EXPECT_EQ(node.FindValue("note"), std::nullopt);
}

TEST(KeyTreeTest, AdoptedChildrenAndValuesAreCheckedFirst) {
  KeyTree tree;
  auto child = std::make_unique<KeyNode>("Colors", nullptr);
  ValueList list = EmptyValueList();
  SetPackedValue(list, "back", RegValue::FromDword(7));
  ASSERT_TRUE(child->AdoptPackedValues(list));
  KeyNode* adopted = tree.root().AdoptChild(std::move(child));
  ASSERT_NE(adopted, nullptr);
  EXPECT_EQ(adopted->parent(), &tree.root());
  EXPECT_EQ(tree.Find("colors")->FindValue("BACK"), RegValue::FromDword(7));
  EXPECT_EQ(tree.root().AdoptChild(std::make_unique<KeyNode>("COLORS", nullptr)), nullptr);
  // A malformed list is refused and the values stay as they were.
  EXPECT_FALSE(adopted->AdoptPackedValues(ValueList{1, 0, 0}));
  EXPECT_EQ(adopted->FindValue("back"), RegValue::FromDword(7));
}

}  // namespace
}  // namespace vesk
