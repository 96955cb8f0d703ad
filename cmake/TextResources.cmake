# The "TEXT" resources: the build makes the speech-runtime package (the glyph
# atlas and the sample programs come from the top-level file and sample/),
# then compresses every input listed in resources/text_resources.tsv into one
# zlib stream and generates the resource script that binds them.
# MORIVANE_INSTALLER_RC is the script to compile into any executable that
# must carry them.
set(TEXT_TABLE ${CMAKE_SOURCE_DIR}/resources/text_resources.tsv)
set(TEXT_IDS ${CMAKE_SOURCE_DIR}/resources/resource_ids.h)
set(SAMPLE_PAYLOAD_DIR ${CMAKE_SOURCE_DIR}/resources/payload)
set(TEXT_OUT_DIR ${CMAKE_BINARY_DIR}/text)
file(MAKE_DIRECTORY ${TEXT_OUT_DIR})
# The moment every generated file is dated: 2026-01-01.
set(MORIVANE_SOURCE_DATE_EPOCH 1767225600)

# Speech-runtime package, with a fixed package code and fixed times so that
# the same sources give the same bytes. wixl stamps each file in the cabinet
# with its modification time, which a checkout sets to when it was made: the
# sources are staged with a fixed one first.
set(SPEECH_SOURCES speech_runtime.wxs readme.txt)
set(SPEECH_STAGE ${CMAKE_BINARY_DIR}/speech_runtime)
list(TRANSFORM SPEECH_SOURCES PREPEND ${CMAKE_SOURCE_DIR}/resources/speech_runtime/
     OUTPUT_VARIABLE speech_source_paths)
file(MAKE_DIRECTORY ${SPEECH_STAGE})
add_custom_command(
  OUTPUT ${GENERATED_PAYLOAD_DIR}/Sapi51forQuelt.msi
  COMMAND ${CMAKE_COMMAND} -E copy ${speech_source_paths} ${SPEECH_STAGE}
  COMMAND touch -d @${MORIVANE_SOURCE_DATE_EPOCH} ${SPEECH_SOURCES}
  COMMAND ${WIXL} -o ${GENERATED_PAYLOAD_DIR}/Sapi51forQuelt.msi speech_runtime.wxs
  COMMAND ${CMAKE_COMMAND} -E env SOURCE_DATE_EPOCH=${MORIVANE_SOURCE_DATE_EPOCH}
          ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/tools/normalize_msi.py
          ${GENERATED_PAYLOAD_DIR}/Sapi51forQuelt.msi "{2A8C1D4F-7B3E-4F6A-9C5D-1E0F2B3A4C5D}"
          "Quelt Speech Runtime (sample)" Quelt
  WORKING_DIRECTORY ${SPEECH_STAGE}
  DEPENDS ${speech_source_paths} ${CMAKE_SOURCE_DIR}/tools/normalize_msi.py
  COMMENT "Building the speech-runtime package"
  VERBATIM)

# Inputs and outputs, read from the table so the build knows what to redo.
set(text_inputs ${GENERATED_PAYLOAD_DIR}/ChnBmp.bin ${GENERATED_PAYLOAD_DIR}/GbkUnicode.bin
    ${GENERATED_PAYLOAD_DIR}/Sapi51forQuelt.msi
    $<TARGET_FILE:sample_product> $<TARGET_FILE:sample_uninstaller>)
set(text_outputs ${TEXT_OUT_DIR}/text_resources.rc ${TEXT_OUT_DIR}/text_resources_table.h)
file(STRINGS ${TEXT_IDS} id_lines REGEX "^#define")
file(STRINGS ${TEXT_TABLE} table_lines REGEX "^IDR_")
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${TEXT_TABLE} ${TEXT_IDS})
foreach(line IN LISTS table_lines)
  string(REGEX REPLACE "[ \t]+" ";" fields "${line}")
  list(GET fields 0 name)
  list(GET fields 3 source)
  list(GET fields 4 file)
  foreach(id_line IN LISTS id_lines)
    if(id_line MATCHES "^#define[ \t]+${name}[ \t]+([0-9]+)")
      list(APPEND text_outputs ${TEXT_OUT_DIR}/${CMAKE_MATCH_1}.z)
    endif()
  endforeach()
  if(source STREQUAL "payload")
    list(APPEND text_inputs ${SAMPLE_PAYLOAD_DIR}/${file})
  endif()
  if(MORIVANE_PAYLOAD_DIR AND EXISTS ${MORIVANE_PAYLOAD_DIR}/${file})
    list(APPEND text_inputs ${MORIVANE_PAYLOAD_DIR}/${file})
  endif()
endforeach()
list(REMOVE_DUPLICATES text_inputs)

set(MORIVANE_COMPRESSOR best CACHE STRING
    "best: per stream, the smallest of stored blocks, zlib -9, libdeflate -12 and zopfli (as installed) within the packer's time budget; or zopfli, libdeflate or zlib for every stream")
set_property(CACHE MORIVANE_COMPRESSOR PROPERTY STRINGS best zopfli libdeflate zlib)
if(NOT MORIVANE_COMPRESSOR)
  set(MORIVANE_COMPRESSOR best)
endif()
message(STATUS "TEXT resources compressed with ${MORIVANE_COMPRESSOR}")

set(override_arg)
if(MORIVANE_PAYLOAD_DIR)
  set(override_arg --override ${MORIVANE_PAYLOAD_DIR})
endif()
add_custom_command(
  OUTPUT ${text_outputs}
  COMMAND ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/tools/pack_text.py
          --table ${TEXT_TABLE} --ids ${TEXT_IDS}
          --payload ${SAMPLE_PAYLOAD_DIR} --generated ${GENERATED_PAYLOAD_DIR}
          ${override_arg} --compressor ${MORIVANE_COMPRESSOR} --out ${TEXT_OUT_DIR}
  DEPENDS ${text_inputs} ${TEXT_TABLE} ${TEXT_IDS} sample_product sample_uninstaller
          ${CMAKE_SOURCE_DIR}/tools/pack_text.py ${CMAKE_SOURCE_DIR}/tools/atlas.py
          ${CMAKE_SOURCE_DIR}/tools/atlas_cells.py
  COMMENT "Compressing the TEXT resources"
  VERBATIM)
add_custom_target(text_resources DEPENDS ${text_outputs})

set(MORIVANE_INSTALLER_RC ${CMAKE_SOURCE_DIR}/resources/installer.rc)
# Source properties belong to a directory: the tests' folder, which compiles
# the same script into its programs, must see them too, or its copies of the
# resources go stale.
set(MORIVANE_INSTALLER_RC_DEPENDS ${text_outputs} ${CMAKE_SOURCE_DIR}/resources/product.ico
    ${CMAKE_SOURCE_DIR}/resources/installer.manifest ${CMAKE_SOURCE_DIR}/resources/resource_ids.h
    ${CMAKE_SOURCE_DIR}/resources/message_dialog.rc ${CMAKE_SOURCE_DIR}/resources/dialog_styles.h)
set_source_files_properties(${MORIVANE_INSTALLER_RC} PROPERTIES
  OBJECT_DEPENDS "${MORIVANE_INSTALLER_RC_DEPENDS}")
include_directories(${TEXT_OUT_DIR})
