# morivane_zlib: zlib's uncompress from third_party/zlib, built small. The
# executables inflate zlib streams only, so gzip support (and with it the
# CRC-32 tables) is left out; unused functions go with --gc-sections. The
# fixed Huffman tables are built on first use (BUILDFIXED: one thread here)
# into zeroed memory, which -fdata-sections would put in the file on this
# target, so data sections stay whole.
set(zlib_dir ${CMAKE_SOURCE_DIR}/third_party/zlib)
add_library(morivane_zlib STATIC ${zlib_dir}/adler32.c ${zlib_dir}/inffast.c
  ${zlib_dir}/inflate.c ${zlib_dir}/inftrees.c ${zlib_dir}/uncompr.c ${zlib_dir}/zutil.c)
target_include_directories(morivane_zlib PUBLIC ${zlib_dir})
target_compile_definitions(morivane_zlib PRIVATE NO_GZIP BUILDFIXED)
target_compile_options(morivane_zlib PRIVATE -Os -fno-asynchronous-unwind-tables
  -ffunction-sections)
morivane_small_link(morivane_zlib)
