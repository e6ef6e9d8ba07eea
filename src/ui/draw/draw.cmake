# Libraries the drawing layer (src/ui/draw) decodes pictures and renders text with.
find_package(PkgConfig REQUIRED)
pkg_check_modules(SL_DRAW_DEPS REQUIRED IMPORTED_TARGET GLOBAL
  SDL2_image SDL2_ttf fontconfig libpng libwmf)
target_link_libraries(storyloom_ui PRIVATE PkgConfig::SL_DRAW_DEPS)
