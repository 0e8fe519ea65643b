# The mixer schematic picture. Included by app/CMakeLists.txt; it needs only
# Qt's painting, so it builds and tests without the window.
add_library(gm_schematic STATIC
  ${CMAKE_CURRENT_LIST_DIR}/Schematic.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SchematicArtwork.cpp)
target_include_directories(gm_schematic PUBLIC ${PROJECT_SOURCE_DIR})
target_link_libraries(gm_schematic PUBLIC Qt6::Gui)
