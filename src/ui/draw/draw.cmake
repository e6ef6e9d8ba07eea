# Libraries the drawing layer (src/ui/draw) decodes pictures and renders text with.
find_package(PkgConfig REQUIRED)
pkg_check_modules(SL_DRAW_DEPS REQUIRED IMPORTED_TARGET GLOBAL
  SDL2_image SDL2_ttf fontconfig libpng libwmf libgif)
target_link_libraries(storyloom_ui PRIVATE PkgConfig::SL_DRAW_DEPS)
# libemf2svg has no pkg-config file.
find_library(SL_EMF2SVG_LIBRARY emf2svg REQUIRED)
target_link_libraries(storyloom_ui PRIVATE ${SL_EMF2SVG_LIBRARY})
# libwmf's raster image header includes its siblings by bare name.
find_path(SL_WMF_GD_INCLUDE gd_io.h PATH_SUFFIXES libwmf/gd REQUIRED)
set_source_files_properties(${CMAKE_CURRENT_SOURCE_DIR}/draw/wmf_decode.cpp
  PROPERTIES INCLUDE_DIRECTORIES ${SL_WMF_GD_INCLUDE})
