# The background picture and the application icon, built into the executable as ":/images/...".
# Either may still be missing from the tree; the window then shows button face and the
# default icon.
set(_quivella_images)
foreach(_image background.jpg icon.png)
  if(EXISTS "${CMAKE_CURRENT_SOURCE_DIR}/${_image}")
    list(APPEND _quivella_images ${_image})
  endif()
endforeach()
if(_quivella_images)
  qt_add_resources(quivella_core quivella_images
    PREFIX "/images"
    FILES ${_quivella_images})
  target_compile_definitions(quivella_core PRIVATE QUIVELLA_HAVE_IMAGES)
endif()
