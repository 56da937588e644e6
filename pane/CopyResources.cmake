# SPDX-License-Identifier: MIT
# Copies the folder SOURCE into DESTINATION when it exists; a pane may have no resources of its
# own beyond the interface file.
if(EXISTS ${SOURCE})
    file(COPY ${SOURCE}/ DESTINATION ${DESTINATION})
endif()
