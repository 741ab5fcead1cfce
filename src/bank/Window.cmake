# The bank check window joins the other windows in gui, so the engine library stays free of
# widgets. Included after src/app, where gui is made.
target_sources(gui PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/FrmBancari.h
  ${CMAKE_CURRENT_LIST_DIR}/FrmBancari.cpp)
target_link_libraries(gui PUBLIC bank)
