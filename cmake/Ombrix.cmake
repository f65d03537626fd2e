# Build rules shared by every deliverable: warnings, exact floating point, sanitizers, staging.

add_compile_options(-Wall -Wextra -Wshadow -Wno-unused-parameter)
# Filters are bit-exact: no fused multiply-add, no fast-math reassociation.
add_compile_options(-ffp-contract=off -fno-fast-math)

if(OMBRIX_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
  if(CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    # Coverage instrumentation everywhere, so the fuzz targets see into the code they drive.
    add_compile_options(-fsanitize=fuzzer-no-link)
  endif()
endif()

set(OMBRIX_PROGRAMS_DIR "${OMBRIX_STAGE_DIR}/Programs")
set(OMBRIX_PLUGINS_DIR "${OMBRIX_STAGE_DIR}/Plugins")
set(OMBRIX_UGIO_DIR "${OMBRIX_STAGE_DIR}/UGIO")
file(MAKE_DIRECTORY
  "${OMBRIX_STAGE_DIR}/Programs/Temp" "${OMBRIX_STAGE_DIR}/Plugins" "${OMBRIX_STAGE_DIR}/UGIO"
  "${OMBRIX_STAGE_DIR}/Help" "${OMBRIX_STAGE_DIR}/Images" "${OMBRIX_STAGE_DIR}/Samples"
  "${OMBRIX_STAGE_DIR}/Brushes")

# A filter plug-in: a shared object named NAME.Omp in Plugins/, exporting only the two entries.
function(ombrix_plugin target name)
  add_library(${target} MODULE ${ARGN})
  target_link_libraries(${target} PRIVATE ombrix_kit)
  set_target_properties(${target} PROPERTIES
    PREFIX "" OUTPUT_NAME "${name}" SUFFIX ".Omp"
    LIBRARY_OUTPUT_DIRECTORY "${OMBRIX_PLUGINS_DIR}")
  ombrix_no_undefined(${target})
  ombrix_exports(${target} Zorvex_Plugin_Entry Ombrix_Filter_Plugin_Entry)
  # Every plug-in, for whatever must build them all (the benchmark measures them all).
  set_property(GLOBAL APPEND PROPERTY OMBRIX_PLUGIN_TARGETS ${target})
endfunction()

# A module loaded by path at run time (the image-filter module, the progress module).
function(ombrix_module target dir file_name)
  add_library(${target} MODULE ${ARGN})
  get_filename_component(base "${file_name}" NAME_WE)
  get_filename_component(ext "${file_name}" LAST_EXT)
  set_target_properties(${target} PROPERTIES
    PREFIX "" OUTPUT_NAME "${base}" SUFFIX "${ext}"
    LIBRARY_OUTPUT_DIRECTORY "${dir}")
  ombrix_no_undefined(${target})
endfunction()

# A program of the installation tree.
function(ombrix_program target dir)
  add_executable(${target} ${ARGN})
  set_target_properties(${target} PROPERTIES RUNTIME_OUTPUT_DIRECTORY "${dir}")
endfunction()

# Shared objects must resolve everything at link time, except under the sanitizers, whose
# run time lives in the host executable.
function(ombrix_no_undefined target)
  if(NOT OMBRIX_SANITIZE)
    target_link_options(${target} PRIVATE -Wl,--no-undefined)
  endif()
endfunction()

# Exports exactly the given names (wildcards allowed) from a module; everything else is local.
function(ombrix_exports target)
  set(script "${CMAKE_CURRENT_BINARY_DIR}/${target}.exports")
  string(JOIN "; " names ${ARGN})
  file(WRITE "${script}" "{ global: ${names}; local: *; };\n")
  target_link_options(${target} PRIVATE "-Wl,--version-script=${script}")
  set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS "${script}")
endfunction()

# A service library that other programs link or load by name: lib<name>.so in Programs/,
# exporting exactly the names listed in exports_file (one a line, "#" starts a comment line).
# Its sources are compiled once into the object library <target>_objects, which tests of the
# library's inner rules link directly.
function(ombrix_service_library target name exports_file)
  add_library(${target}_objects OBJECT ${ARGN})
  target_link_libraries(${target}_objects PUBLIC ombrix_platform)
  add_library(${target} SHARED $<TARGET_OBJECTS:${target}_objects>)
  target_link_libraries(${target} PRIVATE ombrix_platform)
  target_include_directories(${target} INTERFACE ${PROJECT_SOURCE_DIR})
  set_target_properties(${target} PROPERTIES OUTPUT_NAME "${name}" LIBRARY_OUTPUT_DIRECTORY "${OMBRIX_PROGRAMS_DIR}")
  ombrix_no_undefined(${target})
  get_filename_component(table "${exports_file}" ABSOLUTE)
  file(STRINGS "${table}" names REGEX "^[A-Za-z_]")
  ombrix_exports(${target} ${names})
  set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS "${table}")
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS "${table}")
endfunction()

# Adds sources compiled for AVX2 to a target: the *_avx2.cpp files that instantiate the loop
# templates of core/kit/simd_lanes.h at 32-byte width. Their functions run only where the
# processor offers AVX2 (core/kit/simd.h); off x86-64 the files compile to nothing.
function(ombrix_avx2_sources target)
  target_sources(${target} PRIVATE ${ARGN})
  if(CMAKE_SYSTEM_PROCESSOR MATCHES "^(x86_64|AMD64|amd64)$")
    set_source_files_properties(${ARGN} TARGET_DIRECTORY ${target} PROPERTIES COMPILE_OPTIONS "-mavx2")
  endif()
endfunction()
