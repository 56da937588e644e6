// SPDX-License-Identifier: MIT
// Nothing of its own: the layer checks are about what the linked library leaves undefined.
