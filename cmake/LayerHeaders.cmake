# Each library of src/ shows its callers its own headers only: the headers of the folder that
# defines it, linked into a folder of the build tree under the name they are included by
# (`engine/Error.h`). A layer that includes another layer's header thus has to link that layer,
# and a layer that does not link it cannot include it.
function(layer_headers target prefix)
    set(root ${PROJECT_BINARY_DIR}/layers/${target})
    file(REMOVE_RECURSE ${root})
    file(MAKE_DIRECTORY ${root}/${prefix})
    file(GLOB headers CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
    foreach(header IN LISTS headers)
        get_filename_component(name ${header} NAME)
        file(CREATE_LINK ${header} ${root}/${prefix}/${name} SYMBOLIC)
    endforeach()
    target_include_directories(${target} PUBLIC ${root})
endfunction()
