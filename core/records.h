// Every record that crosses a module boundary: picture layout, plug-in identification,
// filter catalogue, chain entries, the host block with its service tables and the apply context.
//
// Hosts and plug-ins are built separately and step through each other's arrays record by record,
// so both sides include this one header and the layout is pinned by static_asserts below.
#pragma once

#include <cstddef>
#include <cstdint>

extern "C" {

// ---- Picture layout ------------------------------------------------------------------------

// Size information of a picture; plug-ins read it directly.
struct PictureInfo {
  uint16_t width;
  uint16_t height;
  int16_t bit_count;    // 24 once the picture holds pixels, 0 when empty
  char type_text[512];  // only the first 256 bytes are used
  char source_text[256];
  uint32_t block_size;  // 45 + height * stride
  int32_t stride;       // bytes per stored row
};

// The five pointers of a picture, in this order. The `Picture` class adds operations only.
struct PictureFields {
  uint8_t* dib;       // DIB block: 40-byte header, then the rows bottom-up
  uint8_t* bits;      // first byte of pixel data inside the DIB block
  PictureInfo* info;  // always present
  uint8_t** rows;     // height + 2 row addresses, row 0 the top row; the spare two are null
  uint8_t* extra;     // width * height bytes, one per pixel, or null
};

// ---- Identification ------------------------------------------------------------------------

#define OMBRIX_IDENTIFICATION_CODE "531208746690413752"

struct PluginRights {
  const char* notice;
  const char* reserved;  // "All Rights Reserved."
  int32_t zero1;
  int32_t zero2;
};

typedef void (*CatalogueFunction)(void);

struct PluginExtension {
  const char* name;  // "Ombrix Plug-ins Extension" or "LightWave 3D image filter plug-in"
  intptr_t zero1;
  CatalogueFunction catalogue;
  intptr_t zero2;
};

struct HostBlock;
typedef int32_t (*OtherTypesFunction)(int32_t type, int32_t a, void* out);
typedef int32_t (*FilterEntryFunction)(int32_t command, int32_t zero, HostBlock* block);
typedef int32_t (*PluginEntryFunction)(int32_t type, int32_t a, void* out);

struct PluginInfo {
  int32_t words[6];  // 1, 48, 0, 4, 8, 16; carried unchanged, read by no host
  const char* title;
  const PluginRights* rights;
  double version;
  const int32_t* kinds;  // zero-terminated
  const PluginExtension* extension;
  OtherTypesFunction other_types;
  FilterEntryFunction filter_entry;
};

// ---- Filter catalogue and chain entries ----------------------------------------------------

enum { kSlotCount = 11, kHighestSlot = 10 };

// The kind of a parameter slot: how the editor edits its value and how a host turns the value
// and step texts into the number a filter gets. What each kind holds and how it is read:
// core/parameter_kinds.h.
enum ParameterKind : int16_t {
  kKindInteger = 0,
  kKindColour = 1,
  kKindInputFile = 2,
  kKindPlain3 = 3,  // no special treatment, not shown by the editor
  kKindPictureFile = 4,
  kKindHorizontal = 5,  // a horizontal position or length
  kKindVertical = 6,    // a vertical position or length
  kKindOutputFile = 7,
  kKindPlain8 = 8,  // no special treatment, not shown by the editor
  kKindSignedPercentage = 9,
  kKindReal = 10,
  kKindPercentage = 11,
  kKindPositiveInteger = 12,
  kKindSignedByteRange = 13,
  kKindByteRange = 14,
  kKindPositiveReal = 15,
  kKindEditorLink = 16,  // "module procedure": the editor calls the procedure
};

struct ParameterRecord {
  char name[256];  // empty: the slot is empty
  char value[256];
  char step[256];
  int16_t kind;  // a ParameterKind; a module may send any number
  char extra[256];
};

struct OptionRecord {
  char name[256];
  int16_t state;  // 1 set, 0 not set, -1 empty slot
  int16_t group;
};

class Picture;

struct XAlphaRecord {
  char picture_path[256];
  int16_t type;  // 1 gradual, 2 threshold, other: loaded but not applied
  int16_t negative;
  int16_t stretch;
  Picture* picture;
  int32_t percent;
};

struct FilterDescriptor {
  char name[256];
  char title[256];
  char file_name[64];
  int32_t index;
  int32_t zone[4];  // x0, y0, x1, y1
  float zone_step[4];
  int32_t start_frame;
  int32_t end_frame;
  int32_t parameter_count;  // catalogue: highest slot (10); host copy: slot count (11)
  int32_t option_count;
  ParameterRecord* parameters;
  OptionRecord* options;
  int16_t full_screen;
  int16_t all_frames;
  int16_t proportional;
  XAlphaRecord* xalpha;
  float alpha_init;
  float alpha_step;
  char help_file[260];
  int32_t help_topic;
};

// An extended editor of a plug-in (the "module procedure" text of a kind 16 slot names it):
// edits the chain entry in place and returns non-zero when it changed it.
typedef int32_t (*ExtendedEditorProcedure)(FilterDescriptor* entry);

struct CatalogueReply {
  int32_t count;
  FilterDescriptor* descriptors;
  int32_t spare;
};

// ---- Applying a filter ---------------------------------------------------------------------

struct ApplyContext {
  int32_t x0, y0, x1, y1;   // zone at this frame, neither ordered nor clipped
  int32_t frame_offset;     // frames since the start frame
  int32_t parameter_count;  // number of slots
  int32_t option_count;
  float* values;           // value of slot k at k
  int16_t* option_states;  // state of slot k at k
  FilterDescriptor* descriptor;
};

struct CallRecord {
  int32_t filter_index;
  ApplyContext* context;
  FilterDescriptor* descriptor;
};

struct PictureServices {
  int32_t (*SetPixel)(int32_t x, int32_t y, const uint8_t* bgr);
  int32_t (*GetPixel)(int32_t x, int32_t y, uint8_t* bgr);
  uint8_t (*MaskGrey)(int32_t x, int32_t y);
  void (*ReportValue)(int16_t value);
  Picture* (*InputPicture)(void);
  Picture* (*WorkPicture)(void);
};

struct SizeServices {
  int32_t (*PictureWidth)(void);
  int32_t (*PictureHeight)(void);
  uint8_t* (*InputRow)(int32_t y);
  void* unused;    // holds no function
  Picture* input;  // data pointers, not functions
  Picture* work;
};

struct ProgressServices {
  void (*StartProgress)(int32_t first, int32_t last);
  int32_t (*StepProgress)(int32_t n);
  void (*SetInfoText)(const char* text);
  void (*ShowProgress)(int32_t command);
};

struct MessageServices {
  int32_t (*ShowMessage)(const char* text, const char* title, int32_t kind);
};

// Third argument of Ombrix_Filter_Plugin_Entry. For command 2 `call` points at a CatalogueReply.
struct HostBlock {
  void* call;  // CallRecord* (command 3) or CatalogueReply* (command 2)
  PictureServices* picture;
  SizeServices* size;
  ProgressServices* progress;
  MessageServices* message;
};

typedef int32_t (*ApplyRoutine)(ApplyContext* context);
typedef int32_t (*SetupRoutine)(intptr_t user_value);

// Commands of Ombrix_Filter_Plugin_Entry.
enum {
  kCommandInitialise = 1,
  kCommandReadCatalogue = 2,
  kCommandApply = 3,
  kCommandRelease = 4,
};

}  // extern "C"

// ---- Layout pins (x86-64, natural alignment) -----------------------------------------------

static_assert(sizeof(PictureInfo) == 784);
static_assert(offsetof(PictureInfo, type_text) == 6);
static_assert(offsetof(PictureInfo, source_text) == 518);
static_assert(offsetof(PictureInfo, block_size) == 776);
static_assert(offsetof(PictureInfo, stride) == 780);
static_assert(sizeof(PictureFields) == 5 * sizeof(void*));
static_assert(offsetof(PictureFields, rows) == 3 * sizeof(void*));

static_assert(sizeof(PluginRights) == 24);
static_assert(sizeof(PluginExtension) == 32);
static_assert(offsetof(PluginExtension, catalogue) == 16);
static_assert(sizeof(PluginInfo) == 80);
static_assert(offsetof(PluginInfo, title) == 24);
static_assert(offsetof(PluginInfo, version) == 40);
static_assert(offsetof(PluginInfo, filter_entry) == 72);

static_assert(sizeof(ParameterRecord) == 1026);
static_assert(offsetof(ParameterRecord, kind) == 768);
static_assert(offsetof(ParameterRecord, extra) == 770);
static_assert(sizeof(OptionRecord) == 260);
static_assert(offsetof(OptionRecord, group) == 258);
static_assert(sizeof(XAlphaRecord) == 280);
static_assert(offsetof(XAlphaRecord, picture) == 264);
static_assert(offsetof(XAlphaRecord, percent) == 272);

static_assert(offsetof(FilterDescriptor, title) == 256);
static_assert(offsetof(FilterDescriptor, file_name) == 512);
static_assert(offsetof(FilterDescriptor, index) == 576);
static_assert(offsetof(FilterDescriptor, zone) == 580);
static_assert(offsetof(FilterDescriptor, zone_step) == 596);
static_assert(offsetof(FilterDescriptor, start_frame) == 612);
static_assert(offsetof(FilterDescriptor, parameter_count) == 620);
static_assert(offsetof(FilterDescriptor, parameters) == 632);
static_assert(offsetof(FilterDescriptor, options) == 640);
static_assert(offsetof(FilterDescriptor, full_screen) == 648);
static_assert(offsetof(FilterDescriptor, proportional) == 652);
static_assert(offsetof(FilterDescriptor, xalpha) == 656);
static_assert(offsetof(FilterDescriptor, alpha_init) == 664);
static_assert(offsetof(FilterDescriptor, help_file) == 672);
static_assert(offsetof(FilterDescriptor, help_topic) == 932);
static_assert(sizeof(FilterDescriptor) == 936);

static_assert(sizeof(CatalogueReply) == 24);
static_assert(offsetof(CatalogueReply, descriptors) == 8);
static_assert(sizeof(ApplyContext) == 56);
static_assert(offsetof(ApplyContext, values) == 32);
static_assert(offsetof(ApplyContext, descriptor) == 48);
static_assert(sizeof(CallRecord) == 24);
static_assert(sizeof(PictureServices) == 6 * sizeof(void*));
static_assert(sizeof(SizeServices) == 6 * sizeof(void*));
static_assert(offsetof(SizeServices, input) == 4 * sizeof(void*));
static_assert(sizeof(ProgressServices) == 4 * sizeof(void*));
static_assert(sizeof(HostBlock) == 5 * sizeof(void*));

// ---- The renderer's image-filter interface -------------------------------------------------
// The records through which a renderer (and our own command-line host) drives the image-filter
// module: its module descriptor `_mod_descrip`, the server list, the handler record of an image
// filter and the frame access of one process call.

extern "C" {

#define OMBRIX_LW_SYNC_WORD 0x04121994u
#define OMBRIX_LW_MODULE_VERSION 2u
#define OMBRIX_LW_MACHINE 0x300u
// The line that ends an instance's scene text (after the script's lines).
#define OMBRIX_LW_SCENE_END_LINE "- \xA7 -"

// Asks the host for a named global ("Info Messages"); null when the host has none.
typedef void* (*LWGlobalFunction)(const char* name, int32_t use);
// Result 0 success, 1 wrong version, 2 a needed global is missing, -1 failure.
typedef int32_t (*LWActivateFunction)(int32_t version, LWGlobalFunction global, void* local, void* server_data);

struct LWServerRecord {
  const char* class_name;  // "ImageFilterHandler", "ImageFilterInterface"; null ends the list
  const char* name;        // "Ombrix"
  LWActivateFunction activate;
};

struct LWModuleDescriptor {
  uint32_t sync_word;      // OMBRIX_LW_SYNC_WORD
  uint32_t version;        // OMBRIX_LW_MODULE_VERSION
  uint32_t machine;        // OMBRIX_LW_MACHINE
  void* (*startup)(void);  // non-null on success
  void (*shutdown)(void* startup_data);
  const LWServerRecord* servers;
};

// Reads one text of at most max_length bytes (with its NUL) into buffer; returns its length, or
// -1 at the end of the host's data.
typedef int32_t (*LWReadFunction)(void* data, char* buffer, int32_t max_length);
// Writes length bytes of buffer (a text with its NUL).
typedef void (*LWWriteFunction)(void* data, const char* buffer, int32_t length);

struct LWLoadState {
  int32_t mode;
  void* data;
  LWReadFunction read;
};

struct LWSaveState {
  int32_t mode;
  void* data;
  LWWriteFunction write;
};

struct LWMonitor {
  void* data;
  void (*init)(void* data, uint32_t total_steps);
  int32_t (*step)(void* data, uint32_t increment);  // non-zero: the user aborts
  void (*done)(void* data);
};

enum { kLWBufferRed = 32, kLWBufferGreen = 33, kLWBufferBlue = 34, kLWBufferAlpha = 35 };

struct LWFilterAccess {
  int32_t width;
  int32_t height;
  int32_t frame;
  double start_time;
  double end_time;
  uint8_t* (*buffer_line)(int32_t type, int32_t y);  // one byte per pixel of row y
  float* (*float_line)(int32_t type, int32_t y);     // not used by the module
  void (*set_rgb)(int32_t x, int32_t y, const uint8_t rgb[3]);
  void (*set_alpha)(int32_t x, int32_t y, uint8_t alpha);
  LWMonitor* monitor;
};

typedef void* LWInstance;

// The local record of the handler activation: seven functions in this order.
struct LWImageFilterHandler {
  LWInstance (*create)(void);
  void (*destroy)(LWInstance instance);
  const char* (*copy)(LWInstance source, LWInstance target);  // source is copied over target
  const char* (*load)(LWInstance instance, const LWLoadState* state);
  const char* (*save)(LWInstance instance, const LWSaveState* state);
  void (*process)(LWInstance instance, const LWFilterAccess* access);
  uint32_t (*flags)(LWInstance instance);
};

// The host global "Info Messages": each function takes two texts.
struct LWMessageFunctions {
  void (*info)(const char* line1, const char* line2);
  void (*error)(const char* line1, const char* line2);
  void (*warning)(const char* line1, const char* line2);
};

// Our own host's question to the image-filter module, beside the renderer's interface (exported
// by name as "Ombrix_Frame_Failure"): whether the instance's last processed frame missed any of
// its effect. Returns 1 and copies the reason (cut to size, with its NUL) when it did, else 0.
typedef int32_t (*OmbrixFrameFailureFunction)(LWInstance instance, char* reason, int32_t size);
#define OMBRIX_FRAME_FAILURE_EXPORT "Ombrix_Frame_Failure"

}  // extern "C"

static_assert(sizeof(LWServerRecord) == 3 * sizeof(void*));
static_assert(offsetof(LWModuleDescriptor, startup) == 16);
static_assert(sizeof(LWModuleDescriptor) == 40);
static_assert(sizeof(LWLoadState) == 24);
static_assert(sizeof(LWMonitor) == 4 * sizeof(void*));
static_assert(offsetof(LWFilterAccess, start_time) == 16);
static_assert(offsetof(LWFilterAccess, buffer_line) == 32);
static_assert(offsetof(LWFilterAccess, monitor) == 64);
static_assert(sizeof(LWImageFilterHandler) == 7 * sizeof(void*));
