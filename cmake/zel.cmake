# Build helpers shared by the folders.

function(zel_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wno-unused-parameter -Wno-missing-field-initializers)
endfunction()

# The image libraries: Debian's -dev packages natively, the cached static builds of
# scripts/deps.sh (ZEL_DEPS_PREFIX) for Windows. Both give the same imported targets.
macro(zel_find_image_libraries)
  if(WIN32)
    if(NOT ZEL_DEPS_PREFIX)
      message(FATAL_ERROR "ZEL_DEPS_PREFIX is not set: build the image libraries with scripts/deps.sh first")
    endif()
    set(ZLIB_USE_STATIC_LIBS ON)
    set(ZLIB_LIBRARY ${ZEL_DEPS_PREFIX}/lib/libz.a)
    set(ZLIB_INCLUDE_DIR ${ZEL_DEPS_PREFIX}/include)
    set(JPEG_LIBRARY ${ZEL_DEPS_PREFIX}/lib/libjpeg.a)
    set(JPEG_INCLUDE_DIR ${ZEL_DEPS_PREFIX}/include)
    set(PNG_LIBRARY ${ZEL_DEPS_PREFIX}/lib/libpng16.a)
    set(PNG_PNG_INCLUDE_DIR ${ZEL_DEPS_PREFIX}/include)
    set(GIF_LIBRARY ${ZEL_DEPS_PREFIX}/lib/libgif.a)
    set(GIF_INCLUDE_DIR ${ZEL_DEPS_PREFIX}/include)
    set(TIFF_LIBRARY ${ZEL_DEPS_PREFIX}/lib/libtiff.a)
    set(TIFF_INCLUDE_DIR ${ZEL_DEPS_PREFIX}/include)
  endif()
  find_package(ZLIB REQUIRED)
  find_package(JPEG REQUIRED)
  find_package(PNG REQUIRED)
  find_package(GIF REQUIRED)
  find_package(TIFF REQUIRED)
  find_package(OpenJPEG REQUIRED CONFIG)
  if(WIN32)
    # OpenJPEG's config files do not carry the static-library define.
    set_property(TARGET openjp2 APPEND PROPERTY INTERFACE_COMPILE_DEFINITIONS OPJ_STATIC)
  endif()
endmacro()

# Sanitizers for native builds.
if(ZEL_SANITIZE AND NOT WIN32)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()

if(WIN32)
  # Static runtime: the exe imports nothing beyond the DLLs Windows ships.
  add_link_options(-static -static-libgcc -static-libstdc++ $<$<CONFIG:Release>:-s>)
  add_compile_definitions(WINVER=0x0501 _WIN32_WINNT=0x0501 _WIN32_IE=0x0600 NOMINMAX WIN32_LEAN_AND_MEAN)
endif()

# The program's resources (manifest, version, icon, pictures) for an executable.
function(zel_link_resources target)
  if(WIN32)
    target_sources(${target} PRIVATE ${CMAKE_SOURCE_DIR}/res/zelvane.rc)
    # The compiled resources follow the pictures, the icon and the manifest they embed.
    file(GLOB glyphs CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/res/glyphs/*.png)
    set_source_files_properties(${CMAKE_SOURCE_DIR}/res/zelvane.rc PROPERTIES OBJECT_DEPENDS
      "${glyphs};${CMAKE_SOURCE_DIR}/res/glyphs.rc;${CMAKE_SOURCE_DIR}/res/zelvane.ico;${CMAKE_SOURCE_DIR}/res/zelvane.manifest")
  endif()
endfunction()
