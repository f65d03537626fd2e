// Module side of the plug-in interface: catalogue helpers and command dispatch.
#include "core/kit/plugin_kit.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

int g_apply_calls[2];
int32_t ApplyA(ApplyContext*) { return ++g_apply_calls[0], 1; }
int32_t ApplyB(ApplyContext*) { return ++g_apply_calls[1], 5; }

int32_t SetupA(intptr_t user) {
  SetHelp("Kit.Hlp", int32_t(user));
  return 1;
}

void Catalogue() {
  RegisterFilter("Alpha", ApplyA, SetupA, 3);
  RegisterFilter("Beta", ApplyB, nullptr, 0);
}

int32_t OtherTypes(int32_t type, int32_t a, void*) { return type * 100 + a; }

const PluginRights kRights = {"Test", "All Rights Reserved.", 0, 0};
const int32_t kKinds[] = {1, 0};
const PluginExtension kExtension = {"Ombrix Plug-ins Extension", 0, Catalogue, 0};
const PluginInfo kInfo = ombrix::MakePluginInfo("Kit Test", &kRights, kKinds, &kExtension, nullptr, OtherTypes);

using ombrix::kit::FilterEntry;

CatalogueReply ReadCatalogue() {
  CatalogueReply reply{-1, nullptr, 0};
  HostBlock block{};
  block.call = &reply;
  EXPECT_EQ(FilterEntry(&kInfo, kCommandReadCatalogue, 0, &block), 1);
  return reply;
}

TEST(PluginKit, CatalogueLifecycle) {
  FilterEntry(&kInfo, kCommandRelease, 0, nullptr);
  CatalogueReply before = ReadCatalogue();
  EXPECT_EQ(before.count, 0);
  EXPECT_EQ(before.descriptors, nullptr);

  ASSERT_EQ(FilterEntry(&kInfo, kCommandInitialise, 0, nullptr), 1);
  CatalogueReply reply = ReadCatalogue();
  ASSERT_EQ(reply.count, 2);
  const FilterDescriptor& a = reply.descriptors[0];
  EXPECT_STREQ(a.name, "Alpha");
  EXPECT_STREQ(a.title, "Kit Test");
  EXPECT_STREQ(a.help_file, "Kit.Hlp");
  EXPECT_EQ(a.help_topic, 3);
  EXPECT_EQ(a.parameter_count, 10);
  EXPECT_EQ(a.option_count, 10);
  EXPECT_EQ(a.options[4].state, -1);
  EXPECT_EQ(a.options[4].group, 1);
  EXPECT_EQ(reply.descriptors[1].index, 1);

  // Initialising again rebuilds instead of appending.
  ASSERT_EQ(FilterEntry(&kInfo, kCommandInitialise, 0, nullptr), 1);
  EXPECT_EQ(ReadCatalogue().count, 2);
  EXPECT_EQ(FilterEntry(&kInfo, kCommandRelease, 0, nullptr), 1);
  EXPECT_EQ(ReadCatalogue().count, 0);
  EXPECT_EQ(FilterEntry(&kInfo, 9, 0, nullptr), 0);
}

TEST(PluginKit, SetParamAndSetOptionSlots) {
  FilterEntry(&kInfo, kCommandInitialise, 0, nullptr);
  FilterDescriptor* d = ombrix::kit::Filter(1);
  ASSERT_NE(d, nullptr);
  EXPECT_EQ(SetParam(11, "Too far", "1", "0", kKindInteger, nullptr), 0);
  EXPECT_EQ(d->parameters[10].name[0], '\0');
  EXPECT_EQ(SetParam(-1, "Too low", "1", "0", kKindInteger, nullptr), 0);
  EXPECT_EQ(SetParam(10, "Last", "1", "0", kKindByteRange, nullptr), 1);
  EXPECT_EQ(d->parameter_count, 10);
  EXPECT_EQ(d->parameters[10].kind, kKindByteRange);
  EXPECT_STREQ(d->parameters[10].extra, "");
  const std::string long_name(300, 'n');
  EXPECT_EQ(SetParam(2, long_name.c_str(), "1", "0", kKindInteger, "x"), 1);
  EXPECT_EQ(std::strlen(d->parameters[2].name), 255u);
  EXPECT_EQ(SetOption(11, "No", 1, 1), 0);
  EXPECT_EQ(SetOption(3, "Yes", 1, 2), 1);
  EXPECT_EQ(d->options[3].group, 2);
  FilterEntry(&kInfo, kCommandRelease, 0, nullptr);
  EXPECT_EQ(SetParam(1, "No filter", "1", "0", kKindInteger, nullptr), 0);
}

TEST(PluginKit, ApplyFindsFilterByNameAndCorrectsIndex) {
  FilterEntry(&kInfo, kCommandInitialise, 0, nullptr);
  FilterDescriptor named{};
  std::strcpy(named.name, "Beta");
  ApplyContext context{};
  CallRecord call{0, &context, &named};
  HostBlock block{};
  block.call = &call;
  g_apply_calls[0] = g_apply_calls[1] = 0;
  EXPECT_EQ(FilterEntry(&kInfo, kCommandApply, 0, &block), 5);
  EXPECT_EQ(call.filter_index, 1);
  EXPECT_EQ(g_apply_calls[0], 0);
  EXPECT_EQ(g_apply_calls[1], 1);
  EXPECT_EQ(ombrix::kit::CurrentHostBlock(), &block);

  call.filter_index = 57;  // out of range: still found by name
  EXPECT_EQ(FilterEntry(&kInfo, kCommandApply, 0, &block), 5);
  EXPECT_EQ(call.filter_index, 1);

  std::strcpy(named.name, "beta");  // names compare exactly
  EXPECT_EQ(FilterEntry(&kInfo, kCommandApply, 0, &block), 0);
  EXPECT_EQ(g_apply_calls[1], 2);

  FilterEntry(&kInfo, kCommandRelease, 0, nullptr);
  std::strcpy(named.name, "Alpha");
  EXPECT_EQ(FilterEntry(&kInfo, kCommandApply, 0, &block), 0);
  EXPECT_EQ(g_apply_calls[0], 0);
}

TEST(PluginKit, IdentificationAndOtherTypes) {
  char code[256];
  std::memset(code, 'x', sizeof code);
  EXPECT_EQ(ombrix::kit::PluginEntry(&kInfo, 1, 0, code), 1);
  EXPECT_STREQ(code, "531208746690413752");
  const PluginInfo* info = nullptr;
  EXPECT_EQ(ombrix::kit::PluginEntry(&kInfo, 2, 0, &info), 1);
  EXPECT_EQ(info, &kInfo);
  EXPECT_EQ(ombrix::kit::PluginEntry(&kInfo, 7, 3, nullptr), 703);
}

}  // namespace
