# The Qt side: every subsystem's ui/ folder and the Qt carriers of platform/qt/ form mav_gui; the
# program itself is main() only.
find_package(Qt6 REQUIRED COMPONENTS Widgets Multimedia)
set(CMAKE_AUTOMOC ON)

file(GLOB_RECURSE gui_sources CONFIGURE_DEPENDS
  ${CMAKE_CURRENT_SOURCE_DIR}/*/ui/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*/ui/*.h
  ${CMAKE_CURRENT_SOURCE_DIR}/platform/qt/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/platform/qt/*.h)

if(gui_sources)
  add_library(mav_gui STATIC ${gui_sources})
  target_link_libraries(mav_gui PUBLIC mav_core Qt6::Widgets Qt6::Multimedia)

  if(EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/main.cpp)
    add_executable(mav-controller main.cpp)
    target_link_libraries(mav-controller PRIVATE mav_gui)
  endif()
endif()
