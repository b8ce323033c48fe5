#include "FibHeap.h"
#include "FibHeapReference.h"
#include "FibHeapTestUtilities.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <iostream>
#include <map>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <vector>

using fibheaptest::CheckHeap;
using fibheaptest::MakeNodes;
using fibheaptest::Null;

namespace
{
class FibHeapTest : public ::testing::Test
{
protected:
  void Prepare(std::size_t count)
  {
    this->Nodes = MakeNodes(count);
    this->Heap.SetHeapNodes(this->Nodes.data());
  }
  void InsertKeys(const std::vector<float>& keys)
  {
    this->Prepare(keys.size());
    for (std::size_t i = 0; i < keys.size(); ++i)
    {
      this->Nodes[i] = keys[i];
      this->Heap.Insert(&this->Nodes[i]);
    }
  }
  std::vector<float> DrainKeys()
  {
    std::vector<float> keys;
    while (FibHeapNode* node = this->Heap.ExtractMin())
    {
      EXPECT_EQ(node->m_Left, Null);
      EXPECT_EQ(node->m_Right, Null);
      EXPECT_EQ(node->m_Parent, Null);
      EXPECT_EQ(node->m_Child, Null);
      EXPECT_EQ(node->m_Degree, 0);
      EXPECT_FALSE(node->m_Mark);
      keys.push_back(node->GetKeyValue());
      CheckHeap(this->Heap, this->Nodes.data(), this->Nodes.size());
    }
    return keys;
  }
  // A node with a parent and at least two children, after a consolidation of keys 0..8.
  FibHeapNode* InnerNodeWithTwoChildren()
  {
    this->InsertKeys({ 0, 1, 2, 3, 4, 5, 6, 7, 8 });
    EXPECT_EQ(this->Heap.ExtractMin()->GetKeyValue(), 0.0f);
    EXPECT_EQ(this->Heap.GetNumTrees(), 1);
    for (FibHeapNode& node : this->Nodes)
    {
      if (node.m_Parent != Null && node.m_Degree >= 2)
      {
        return &node;
      }
    }
    return nullptr;
  }
  std::string PrintToString(FibHeapNode* tree, FibHeapNode* parent)
  {
    std::ostringstream captured;
    std::streambuf* old = std::cout.rdbuf(captured.rdbuf());
    this->Heap.Print(tree, parent);
    std::cout.rdbuf(old);
    return captured.str();
  }

  std::vector<FibHeapNode> Nodes;
  FibHeap Heap;
};
}

TEST(FibHeapNode, LayoutAndDefaults)
{
  EXPECT_LE(sizeof(FibHeapNode), 28u);
  EXPECT_EQ(FibHeapNode::NullNodeIndex, 4294967295u);
  EXPECT_TRUE(std::isinf(FibHeapNode::NegativeInfinity) && FibHeapNode::NegativeInfinity < 0);

  FibHeapNode node;
  EXPECT_EQ(node.m_Left, Null);
  EXPECT_EQ(node.m_Right, Null);
  EXPECT_EQ(node.m_Parent, Null);
  EXPECT_EQ(node.m_Child, Null);
  EXPECT_EQ(node.m_Degree, 0);
  EXPECT_FALSE(node.m_Mark);
  EXPECT_EQ(node.GetKeyValue(), 0.0f);
  EXPECT_EQ(node.GetIndexValue(), Null);
}

TEST(FibHeapNode, AssignmentAndComparisonUseOnlyTheKey)
{
  FibHeapNode a;
  a.SetIndexValue(4);
  a.m_Left = 7;
  a = 2.5f;
  FibHeapNode b;
  b.SetIndexValue(9);
  b = a;
  EXPECT_EQ(b.GetKeyValue(), 2.5f);
  EXPECT_EQ(b.GetIndexValue(), 9u) << "node assignment copies only the key";
  EXPECT_EQ(b.m_Left, Null);
  EXPECT_TRUE(a == b);
  b = 1.0f;
  EXPECT_TRUE(b < a);
  EXPECT_FALSE(a < b);
  FibHeapNode nan;
  nan = std::nanf("");
  EXPECT_FALSE(nan == nan);
}

TEST_F(FibHeapTest, TiesKeepTheFirstMinimumAndExtractInOrder)
{
  this->InsertKeys({ 5, 3, 3, 7 });
  ASSERT_EQ(this->Heap.Minimum(), &this->Nodes[1]);
  EXPECT_EQ(this->Heap.GetNumNodes(), 4);
  EXPECT_EQ(this->Heap.GetNumTrees(), 4);
  CheckHeap(this->Heap, this->Nodes.data(), this->Nodes.size());
  EXPECT_EQ(this->DrainKeys(), (std::vector<float>{ 3, 3, 5, 7 }));
}

TEST_F(FibHeapTest, EmptyHeap)
{
  this->Prepare(1);
  EXPECT_TRUE(this->Heap.IsEmpty());
  EXPECT_EQ(this->Heap.Minimum(), nullptr);
  EXPECT_EQ(this->Heap.ExtractMin(), nullptr);
  this->Heap.Insert(nullptr);
  EXPECT_TRUE(this->Heap.IsEmpty());

  this->Nodes[0] = 1.0f;
  this->Heap.Insert(&this->Nodes[0]);
  EXPECT_FALSE(this->Heap.IsEmpty());
  EXPECT_EQ(this->Heap.ExtractMin(), &this->Nodes[0]);
  EXPECT_TRUE(this->Heap.IsEmpty());
  EXPECT_EQ(this->Heap.GetNumNodes(), 0);
  EXPECT_EQ(this->Heap.GetNumTrees(), 0);
}

TEST_F(FibHeapTest, DecreaseKeyRefusesLargerKeysAndAcceptsEqualOnes)
{
  this->InsertKeys({ 4, 6 });
  EXPECT_EQ(this->Heap.DecreaseKey(&this->Nodes[1], 9.0f), -1);
  EXPECT_EQ(this->Nodes[1].GetKeyValue(), 6.0f);
  EXPECT_EQ(this->Heap.DecreaseKey(nullptr, 1.0f), -1);
  EXPECT_EQ(this->Heap.DecreaseKey(&this->Nodes[1], 6.0f), 0);
  EXPECT_EQ(this->Heap.Minimum(), &this->Nodes[0]);
  EXPECT_EQ(this->Heap.DecreaseKey(&this->Nodes[1], 1.0f), 0);
  EXPECT_EQ(this->Heap.Minimum(), &this->Nodes[1]);
  CheckHeap(this->Heap, this->Nodes.data(), this->Nodes.size());
}

TEST_F(FibHeapTest, CutsAndCascadingCutsFollowTheMarks)
{
  FibHeapNode* inner = this->InnerNodeWithTwoChildren();
  ASSERT_NE(inner, nullptr);
  const std::uint32_t grandParent = inner->m_Parent;
  FibHeapNode* first = &this->Nodes[inner->m_Child];
  FibHeapNode* second = &this->Nodes[first->m_Right];
  ASSERT_NE(first, second);
  std::vector<float> expected{ -2, -1, 1, 2, 3, 4, 5, 6, 7, 8 };
  for (float cutKey : { first->GetKeyValue(), second->GetKeyValue() })
  {
    expected.erase(std::find(expected.begin(), expected.end(), cutKey));
  }

  ASSERT_EQ(this->Heap.DecreaseKey(first, -1.0f), 0);
  EXPECT_EQ(first->m_Parent, Null) << "cut to the root list";
  EXPECT_EQ(this->Heap.Minimum(), first);
  EXPECT_TRUE(inner->m_Mark);
  EXPECT_EQ(this->Heap.GetNumMarkedNodes(), 1);
  EXPECT_EQ(this->Heap.GetNumTrees(), 2);
  CheckHeap(this->Heap, this->Nodes.data(), this->Nodes.size());

  ASSERT_EQ(this->Heap.DecreaseKey(second, -2.0f), 0);
  EXPECT_EQ(second->m_Parent, Null);
  EXPECT_EQ(inner->m_Parent, Null) << "a marked parent is cut as well";
  EXPECT_FALSE(inner->m_Mark);
  EXPECT_EQ(this->Heap.GetNumMarkedNodes(), this->Nodes[grandParent].m_Parent == Null ? 0 : 1);
  EXPECT_EQ(this->Heap.GetNumTrees(), 4);
  EXPECT_EQ(this->Heap.Minimum(), second);
  CheckHeap(this->Heap, this->Nodes.data(), this->Nodes.size());

  EXPECT_EQ(this->DrainKeys(), expected);
}

TEST_F(FibHeapTest, DeleteRemovesAnInnerNode)
{
  FibHeapNode* inner = this->InnerNodeWithTwoChildren();
  ASSERT_NE(inner, nullptr);
  const float removedKey = inner->GetKeyValue();
  EXPECT_EQ(this->Heap.Delete(nullptr), -1);
  EXPECT_EQ(this->Heap.GetNumNodes(), 8);
  EXPECT_EQ(this->Heap.Delete(inner), 0);
  EXPECT_EQ(this->Heap.GetNumNodes(), 7);
  EXPECT_EQ(inner->GetKeyValue(), FibHeapNode::NegativeInfinity);
  EXPECT_EQ(inner->m_Parent, Null);
  CheckHeap(this->Heap, this->Nodes.data(), this->Nodes.size());

  std::vector<float> expected{ 1, 2, 3, 4, 5, 6, 7, 8 };
  expected.erase(std::find(expected.begin(), expected.end(), removedKey));
  EXPECT_EQ(this->DrainKeys(), expected);
}

TEST_F(FibHeapTest, UnionJoinsCountersAndKeepsTheSmallerMinimum)
{
  this->Prepare(5);
  const float keys[] = { 4, 8, 2, 6, 1 };
  for (int i = 0; i < 5; ++i)
  {
    this->Nodes[i] = keys[i];
  }
  for (int i = 0; i < 3; ++i)
  {
    this->Heap.Insert(&this->Nodes[i]);
  }

  // Null and empty heaps change nothing.
  this->Heap.Union(nullptr);
  auto* empty = new FibHeap;
  empty->SetHeapNodes(this->Nodes.data());
  this->Heap.Union(empty);
  EXPECT_EQ(this->Heap.GetNumNodes(), 3);
  EXPECT_EQ(this->Heap.Minimum(), &this->Nodes[2]);

  auto* other = new FibHeap;
  other->SetHeapNodes(this->Nodes.data());
  other->Insert(&this->Nodes[3]);
  other->Insert(&this->Nodes[4]);
  this->Heap.Union(other); // deletes other
  EXPECT_EQ(this->Heap.GetNumNodes(), 5);
  EXPECT_EQ(this->Heap.GetNumTrees(), 5);
  EXPECT_EQ(this->Heap.Minimum(), &this->Nodes[4]);
  CheckHeap(this->Heap, this->Nodes.data(), this->Nodes.size());
  EXPECT_EQ(this->DrainKeys(), (std::vector<float>{ 1, 2, 4, 6, 8 }));
}

TEST_F(FibHeapTest, UnionIntoAnEmptyHeapTakesTheOtherOver)
{
  this->Prepare(3);
  auto* other = new FibHeap;
  other->SetHeapNodes(this->Nodes.data());
  const float keys[] = { 3, 1, 2 };
  for (int i = 0; i < 3; ++i)
  {
    this->Nodes[i] = keys[i];
    other->Insert(&this->Nodes[i]);
  }
  this->Heap.Union(other);
  EXPECT_EQ(this->Heap.GetNumNodes(), 3);
  EXPECT_EQ(this->Heap.Minimum(), &this->Nodes[1]);
  CheckHeap(this->Heap, this->Nodes.data(), this->Nodes.size());
  EXPECT_EQ(this->DrainKeys(), (std::vector<float>{ 1, 2, 3 }));
}

TEST_F(FibHeapTest, CopiesShareTheNodes)
{
  this->InsertKeys({ 2, 1 });
  FibHeap copy(this->Heap);
  EXPECT_EQ(copy.Minimum(), this->Heap.Minimum());
  EXPECT_EQ(copy.GetNumNodes(), 2);
  FibHeap assigned;
  assigned = this->Heap;
  EXPECT_EQ(assigned.Minimum(), &this->Nodes[1]);
  EXPECT_EQ(assigned.GetNumTrees(), 2);
}

TEST_F(FibHeapTest, PrintShowsListsAndChildren)
{
  this->InsertKeys({ 1, 3, 2 });
  FibHeapNode rootLevel;
  EXPECT_EQ(this->PrintToString(nullptr, &rootLevel),
    "1 <-> 2 <-> 3 <-> \nChildren of 1: NONE\nChildren of 2: NONE\nChildren of 3: NONE\n");
  // A null parent stands for the root level instead of crashing.
  EXPECT_EQ(this->PrintToString(nullptr, nullptr), this->PrintToString(nullptr, &rootLevel));

  // After a consolidation the children are printed below their parent.
  ASSERT_EQ(this->Heap.ExtractMin(), &this->Nodes[0]);
  EXPECT_EQ(
    this->PrintToString(nullptr, nullptr), "2 <-> \nChildren of 2: 3 <-> \nChildren of 3: NONE\n");

  // A broken link is reported rather than followed blindly.
  this->Nodes[1].m_Parent = 0;
  EXPECT_EQ(this->PrintToString(&this->Nodes[1], &this->Nodes[2]),
    "3(m_Parent is incorrect) <-> \nChildren of 3: NONE\n");
}

// Differential test against an ordered multiset: every operation, counters and invariants
// checked after each step.
TEST(FibHeapRandomized, MatchesAnOrderedReference)
{
  constexpr std::size_t Count = 600;
  for (unsigned seed : { 1u, 7u, 42u, 2024u })
  {
    SCOPED_TRACE(seed);
    std::mt19937 rng(seed);
    std::vector<FibHeapNode> nodes = MakeNodes(Count);
    FibHeap heap;
    heap.SetHeapNodes(nodes.data());
    std::multiset<std::pair<float, std::uint32_t>> reference;
    std::vector<std::uint32_t> free;
    for (std::uint32_t i = 0; i < Count; ++i)
    {
      free.push_back(i);
    }
    std::uniform_int_distribution<int> keyDist(0, 50); // few values: many ties
    auto takeFree = [&]()
    {
      std::uniform_int_distribution<std::size_t> pick(0, free.size() - 1);
      const std::size_t at = pick(rng);
      const std::uint32_t index = free[at];
      free[at] = free.back();
      free.pop_back();
      nodes[index] = FibHeapNode();
      nodes[index].SetIndexValue(index);
      nodes[index] = static_cast<float>(keyDist(rng));
      return index;
    };
    auto pickMember = [&]()
    {
      std::uniform_int_distribution<std::size_t> pick(0, reference.size() - 1);
      return std::next(reference.begin(), static_cast<long>(pick(rng)));
    };

    for (int step = 0; step < 6000; ++step)
    {
      const int op = std::uniform_int_distribution<int>(0, 9)(rng);
      if (op <= 3 && !free.empty())
      {
        const std::uint32_t index = takeFree();
        heap.Insert(&nodes[index]);
        reference.emplace(nodes[index].GetKeyValue(), index);
      }
      else if (op == 4 && free.size() >= 3)
      {
        auto* other = new FibHeap;
        other->SetHeapNodes(nodes.data());
        for (int k = 0; k < 3; ++k)
        {
          const std::uint32_t index = takeFree();
          other->Insert(&nodes[index]);
          reference.emplace(nodes[index].GetKeyValue(), index);
        }
        heap.Union(other);
      }
      else if (op <= 6 && !reference.empty())
      {
        FibHeapNode* min = heap.ExtractMin();
        ASSERT_NE(min, nullptr);
        ASSERT_EQ(min->GetKeyValue(), reference.begin()->first);
        const auto found = reference.find({ min->GetKeyValue(), min->GetIndexValue() });
        ASSERT_NE(found, reference.end());
        reference.erase(found);
        free.push_back(min->GetIndexValue());
      }
      else if (op <= 8 && !reference.empty())
      {
        auto member = pickMember();
        const std::uint32_t index = member->second;
        const float key = member->first - static_cast<float>(keyDist(rng)) / 4.0f;
        ASSERT_EQ(heap.DecreaseKey(&nodes[index], key), 0);
        reference.erase(member);
        reference.emplace(key, index);
      }
      else if (!reference.empty())
      {
        auto member = pickMember();
        const std::uint32_t index = member->second;
        // Delete relies on no other node holding minus infinity.
        ASSERT_EQ(heap.Delete(&nodes[index]), 0);
        EXPECT_EQ(nodes[index].GetKeyValue(), FibHeapNode::NegativeInfinity);
        reference.erase(member);
        free.push_back(index);
      }
      ASSERT_EQ(heap.GetNumNodes(), static_cast<std::int32_t>(reference.size()));
      if (!reference.empty())
      {
        ASSERT_EQ(heap.Minimum()->GetKeyValue(), reference.begin()->first);
      }
      CheckHeap(heap, nodes.data(), nodes.size());
      if (::testing::Test::HasFatalFailure())
      {
        return;
      }
    }
  }
}

// The library against a step-by-step transcription of its algorithms: after every operation
// each field of each node, the counters and the minimum are the same, so tree shapes, list
// orders and marks match, not only the extraction order.
TEST(FibHeapRandomized, LeavesEveryNodeAsTheStepByStepAlgorithmsDo)
{
  using fibheaptest::ReferenceHeap;
  constexpr std::size_t Count = 400;
  struct Mix
  {
    const char* Name;
    int Insert, Union, Extract, Decrease, Delete; // relative weights
  };
  const Mix mixes[] = {
    { "balanced", 4, 1, 3, 2, 1 },
    { "decrease-heavy (marks and cascading cuts)", 3, 0, 2, 6, 0 },
    { "unions of consolidated heaps", 2, 2, 2, 1, 1 },
  };
  for (const Mix& mix : mixes)
  {
    for (unsigned seed : { 3u, 99u })
    {
      SCOPED_TRACE(std::string(mix.Name) + ", seed " + std::to_string(seed));
      std::mt19937 rng(seed);
      std::vector<FibHeapNode> nodes = MakeNodes(Count);
      std::vector<FibHeapNode> expected = MakeNodes(Count);
      FibHeap heap;
      heap.SetHeapNodes(nodes.data());
      ReferenceHeap reference(expected.data());
      std::vector<std::uint32_t> free;
      std::vector<std::uint32_t> members;
      for (std::uint32_t i = 0; i < Count; ++i)
      {
        free.push_back(i);
      }
      std::uniform_int_distribution<int> keyDist(0, 30);
      auto take = [&](std::vector<std::uint32_t>& from)
      {
        const std::size_t at = std::uniform_int_distribution<std::size_t>(0, from.size() - 1)(rng);
        const std::uint32_t index = from[at];
        from[at] = from.back();
        from.pop_back();
        return index;
      };
      auto prepare = [&](std::uint32_t index)
      {
        const float key = static_cast<float>(keyDist(rng));
        for (std::vector<FibHeapNode>* array : { &nodes, &expected })
        {
          (*array)[index] = FibHeapNode();
          (*array)[index].SetIndexValue(index);
          (*array)[index] = key;
        }
      };
      auto forget = [&](std::uint32_t index)
      {
        members.erase(std::find(members.begin(), members.end(), index));
        free.push_back(index);
      };
      std::discrete_distribution<int> opDist({ double(mix.Insert),
        double(mix.Union),
        double(mix.Extract),
        double(mix.Decrease),
        double(mix.Delete) });

      for (int step = 0; step < 5000; ++step)
      {
        const int op = opDist(rng);
        if (op == 0 && !free.empty())
        {
          const std::uint32_t index = take(free);
          prepare(index);
          heap.Insert(&nodes[index]);
          reference.Insert(&expected[index]);
          members.push_back(index);
        }
        else if (op == 1 && free.size() >= 8)
        {
          // A second heap with trees and marks of its own, then joined.
          auto* other = new FibHeap;
          other->SetHeapNodes(nodes.data());
          ReferenceHeap otherReference(expected.data());
          std::vector<std::uint32_t> added;
          for (int k = 0; k < 8; ++k)
          {
            const std::uint32_t index = take(free);
            prepare(index);
            other->Insert(&nodes[index]);
            otherReference.Insert(&expected[index]);
            added.push_back(index);
          }
          const std::uint32_t extracted = other->ExtractMin()->GetIndexValue();
          ASSERT_EQ(otherReference.ExtractMin()->GetIndexValue(), extracted);
          added.erase(std::find(added.begin(), added.end(), extracted));
          free.push_back(extracted);
          const std::uint32_t lowered = added[0];
          const float key = nodes[lowered].GetKeyValue() - 40.0f;
          ASSERT_EQ(other->DecreaseKey(&nodes[lowered], key), 0);
          ASSERT_EQ(otherReference.DecreaseKey(&expected[lowered], key), 0);
          heap.Union(other);
          reference.Union(otherReference);
          members.insert(members.end(), added.begin(), added.end());
        }
        else if (op == 2 && !members.empty())
        {
          FibHeapNode* min = heap.ExtractMin();
          FibHeapNode* expectedMin = reference.ExtractMin();
          ASSERT_NE(min, nullptr);
          ASSERT_EQ(min->GetIndexValue(), expectedMin->GetIndexValue());
          forget(min->GetIndexValue());
        }
        else if (op == 3 && !members.empty())
        {
          const std::uint32_t index =
            members[std::uniform_int_distribution<std::size_t>(0, members.size() - 1)(rng)];
          const float key = nodes[index].GetKeyValue() - static_cast<float>(keyDist(rng)) / 3.0f;
          ASSERT_EQ(heap.DecreaseKey(&nodes[index], key), 0);
          ASSERT_EQ(reference.DecreaseKey(&expected[index], key), 0);
        }
        else if (op == 4 && !members.empty())
        {
          const std::uint32_t index =
            members[std::uniform_int_distribution<std::size_t>(0, members.size() - 1)(rng)];
          ASSERT_EQ(heap.Delete(&nodes[index]), 0);
          ASSERT_EQ(reference.Delete(&expected[index]), 0);
          forget(index);
        }

        ASSERT_EQ(heap.GetNumNodes(), reference.NumNodes);
        ASSERT_EQ(heap.GetNumTrees(), reference.NumTrees);
        ASSERT_EQ(heap.GetNumMarkedNodes(), reference.NumMarkedNodes);
        ASSERT_EQ(heap.Minimum() == nullptr, reference.MinRoot == nullptr);
        if (heap.Minimum() != nullptr)
        {
          ASSERT_EQ(heap.Minimum()->GetIndexValue(), reference.MinRoot->GetIndexValue());
        }
        for (std::size_t i = 0; i < Count; ++i)
        {
          const FibHeapNode& a = nodes[i];
          const FibHeapNode& b = expected[i];
          ASSERT_TRUE(a.m_Left == b.m_Left && a.m_Right == b.m_Right && a.m_Parent == b.m_Parent &&
                      a.m_Child == b.m_Child && a.m_Degree == b.m_Degree && a.m_Mark == b.m_Mark &&
                      a.m_Index == b.m_Index && std::memcmp(&a.m_Key, &b.m_Key, sizeof(float)) == 0)
            << "node " << i << " differs after step " << step;
        }
      }
      CheckHeap(heap, nodes.data(), nodes.size());
    }
  }
}
