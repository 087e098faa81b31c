// The browser's half of the web platform layer: the page's window, its message box, the
// user's number symbols and the browser's window.open. web_window.cpp and web_platform.cpp
// call these by name; what the user does goes back through the functions web_window.cpp
// exports. The markup they work on is the build's (web_markup.h).

mergeInto(LibraryManager.library, {
    $melkora: {
        controls: [],     // by ControlId
        announcing: 0,    // the timer of a repeated announcement
        messages: [],     // texts waiting for the box
        starting: false,  // while main() runs
        focusAfterBox: null,
        selectionAfterBox: [],

        // UTF-16 code units as they are, lone surrogates included, in slices that no
        // argument list overflows.
        text: function (pointer, length) {
            const units = HEAPU16.subarray(pointer >> 1, (pointer >> 1) + length);
            let out = '';
            for (let i = 0; i < units.length; i += 8192) {
                out += String.fromCharCode.apply(null, units.subarray(i, i + 8192));
            }
            return out;
        },

        // The engine's key: Enter, or the upper-case ASCII letter or digit of the key, by what
        // it types, or where Alt or a layout makes it type something else, by where it is.
        keyOf: function (event) {
            if (event.key === 'Enter') {
                return 13;
            }
            if (event.key.length === 1 && /^[a-z0-9]$/i.test(event.key)) {
                return event.key.toUpperCase().charCodeAt(0);
            }
            const place = /^(?:Key([A-Z])|Digit([0-9]))$/.exec(event.code);
            if (place) {
                return (place[1] || place[2]).charCodeAt(0);
            }
            return 0x110000; // beyond Unicode: a key the engine matches to nothing
        },

        modifiersOf: function (event) {
            return (event.shiftKey ? 1 : 0) | (event.ctrlKey ? 2 : 0) | (event.altKey ? 4 : 0) |
                   (event.metaKey ? 8 : 0);
        },

        // The next message, or the focus back where it was before the first; once only.
        boxClosed: function () {
            if (melkora.messages.length > 0) {
                melkora.showNextMessage();
            } else if (melkora.focusAfterBox) {
                const control = melkora.focusAfterBox;
                melkora.focusAfterBox = null;
                control.focus();
                // A field keeps its selection. Chromium's box gives the focus back by itself as
                // it closes, during OK's click, and puts the caret where the mouse would.
                const selection = melkora.selectionAfterBox;
                if (selection[0] !== null && selection[0] !== undefined) {
                    control.setSelectionRange(...selection);
                }
            }
        },

        // The fields the program has written scrolled into what the user sees, where a phone's
        // keyboard or a short window hides them, without moving the focus. Once all of a
        // command's writes are done: each check reads the layout, which every write changes, so
        // checking each as it is written would lay the page out once per field.
        written: [],
        reveal: function (control) {
            if (melkora.written.push(control) > 1) {
                return;
            }
            queueMicrotask(() => {
                const seen = window.visualViewport ||
                             {offsetTop: 0, offsetLeft: 0, width: innerWidth, height: innerHeight};
                for (const field of new Set(melkora.written)) {
                    const box = field.getBoundingClientRect();
                    if (box.top < seen.offsetTop || box.bottom > seen.offsetTop + seen.height ||
                        box.left < seen.offsetLeft || box.right > seen.offsetLeft + seen.width) {
                        field.scrollIntoView({block: 'nearest', inline: 'nearest'});
                    }
                }
                melkora.written = [];
            });
        },

        // Read once and kept: Intl's formatters take about half a millisecond to make for these
        // six, which every Calculate would pay. The languages change only in the browser's
        // settings, and the browser says when (melkora_attach listens).
        symbols: null,
        numberSymbols: function () {
            if (melkora.symbols !== null) {
                return melkora.symbols;
            }
            let format = null;
            try {
                format = new Intl.NumberFormat(navigator.languages);
            } catch (error) {
                format = new Intl.NumberFormat();
            }
            const locale = format.resolvedOptions().locale;
            const part = (options, value, type) => {
                const found = new Intl.NumberFormat(locale, options).formatToParts(value)
                    .find((p) => p.type === type);
                return found ? found.value : '';
            };
            melkora.symbols = [
                part({}, 1.5, 'decimal') || '.',
                part({}, -1, 'minusSign') || '-',
                part({signDisplay: 'always'}, 1, 'plusSign') || '+',
                part({notation: 'scientific'}, 1e5, 'exponentSeparator') || 'e',
                part({useGrouping: false}, 0, 'integer') || '0',
                part({}, 1234567, 'group'),
            ].join('\0') + '\0';
            return melkora.symbols;
        },

        showNextMessage: function () {
            const box = document.getElementById('message');
            document.getElementById('message-text').textContent = melkora.messages.shift();
            box.showModal();
            document.getElementById('message-ok').focus();
        },
    },

    melkora_attach__deps: ['$melkora'],
    melkora_attach: function (caption, length) {
        melkora.starting = true;
        Promise.resolve().then(() => { melkora.starting = false; }); // once main() has returned
        document.title = melkora.text(caption, length);
        const surface = document.getElementById('window');
        for (const control of surface.querySelectorAll('[data-control]')) {
            const id = Number(control.dataset.control);
            melkora.controls[id] = control;
            if (control.localName === 'button') {
                control.addEventListener('click', () => _melkora_buttonPressed(id));
            }
        }
        // Keys reach the engine before the focused control sees them.
        // The Enter that commits an input method's text is the method's: Safari reports it with
        // isComposing false, and keyCode 229 as every engine does.
        surface.addEventListener('keydown', (event) => {
            if (!event.isComposing && event.keyCode !== 229 &&
                _melkora_keyPressed(melkora.keyOf(event), melkora.modifiersOf(event))) {
                event.preventDefault();
            }
        }, true);
        // The arrangement the page's styles show for the viewport, as a phone turns or a window
        // is resized; controls keep their text, selection and focus, being the same elements.
        // The engine starts in the window's own, and hears of another when the viewport changes
        // or a press comes: reading the styles as the page starts would lay it out early.
        let arrangement = 0;
        const arranged = () => {
            const shown = Number(getComputedStyle(surface).getPropertyValue('--arrangement'));
            if (shown !== arrangement) {
                arrangement = shown;
                _melkora_arranged(shown);
            }
        };
        window.addEventListener('resize', arranged);
        // The surface's own presses: its painted elements let them through. A press there
        // takes the focus from no control and selects nothing; its release is the surface's
        // wherever it happens, as with a desktop window's mouse capture.
        const pointOf = (event) => {
            const origin = surface.getBoundingClientRect();
            return [Math.floor(event.clientX - origin.left), Math.floor(event.clientY - origin.top)];
        };
        // One listener for every release: a press whose release never comes (the pointer lost
        // to another window) leaves nothing behind.
        let pressed = false;
        surface.addEventListener('mousedown', (event) => {
            if (event.button !== 0 || event.target !== surface) {
                return;
            }
            event.preventDefault();
            arranged(); // the resize event may be a frame behind what the user sees
            const [x, y] = pointOf(event);
            pressed = true;
            _melkora_mousePressed(x, y, event.detail % 2 === 0 ? 1 : 0);
        });
        window.addEventListener('mouseup', (release) => {
            if (pressed && release.button === 0) {
                pressed = false;
                const [x, y] = pointOf(release);
                _melkora_mouseReleased(x, y);
            }
        }, true);
        // OK and Escape move on at once. The box's close event comes a task later, when the user
        // may have moved the focus or brought up a new box; it only serves a box that the
        // browser closed by itself, and does nothing once the box is open again. An Escape that
        // the browser will not let the page cancel (no user activation since the last) closes
        // the box right after this handler, so the next message waits for the close event.
        const box = document.getElementById('message');
        document.getElementById('message-ok').addEventListener('click', () => {
            box.close();
            melkora.boxClosed();
        });
        box.addEventListener('cancel', (event) => {
            event.preventDefault();
            box.close();
            if (event.cancelable || melkora.messages.length === 0) {
                melkora.boxClosed();
            }
        });
        box.addEventListener('close', () => box.open || melkora.boxClosed());
        window.addEventListener('languagechange', () => { melkora.symbols = null; });
        performance.mark('melkora-ready');
    },

    // The first focus, given as the module starts, goes only where the user has not already
    // put it: a slow connection may have given the user time to pick a field and type.
    melkora_focus__deps: ['$melkora'],
    melkora_focus: function (control) {
        if (!melkora.starting || document.activeElement === document.body ||
            !document.activeElement) {
            melkora.controls[control].focus();
        }
    },

    melkora_textLength__deps: ['$melkora'],
    melkora_textLength: function (field) {
        return melkora.controls[field].value.length;
    },

    melkora_copyText__deps: ['$melkora'],
    melkora_copyText: function (field, into) {
        const value = melkora.controls[field].value;
        for (let i = 0; i < value.length; ++i) {
            HEAPU16[(into >> 1) + i] = value.charCodeAt(i);
        }
    },

    melkora_setText__deps: ['$melkora'],
    melkora_setText: function (field, text, length) {
        const control = melkora.controls[field];
        control.value = melkora.text(text, length);
        melkora.reveal(control);
    },

    // The page's status region, which screen readers read politely and whole. The same text
    // again is a change only once the region has been empty for a moment.
    melkora_announce__deps: ['$melkora'],
    melkora_announce: function (text, length) {
        const region = document.getElementById('status');
        const announcement = melkora.text(text, length);
        clearTimeout(melkora.announcing);
        if (region.textContent !== announcement) {
            region.textContent = announcement;
            return;
        }
        region.textContent = '';
        melkora.announcing = setTimeout(() => { region.textContent = announcement; }, 100);
    },

    // The box is modal, but the page cannot wait for it: the handler that shows it has
    // returned by the time the user reads it, and the focus goes back when the user closes it.
    melkora_showMessage__deps: ['$melkora'],
    melkora_showMessage: function (text, length) {
        melkora.messages.push(melkora.text(text, length));
        if (!document.getElementById('message').open) {
            const control = document.activeElement;
            melkora.focusAfterBox = control;
            melkora.selectionAfterBox = [control.selectionStart, control.selectionEnd,
                                         control.selectionDirection];
            melkora.showNextMessage();
        }
    },

    // The decimal separator, the minus and plus signs, the exponent, the digit zero and the group
    // separator of the browser's first language, each ended by U+0000, into `into`; the code
    // units written.
    melkora_numberSymbols__deps: ['$melkora'],
    melkora_numberSymbols: function (into, capacity) {
        const symbols = melkora.numberSymbols();
        const length = Math.min(symbols.length, capacity);
        for (let i = 0; i < length; ++i) {
            HEAPU16[(into >> 1) + i] = symbols.charCodeAt(i);
        }
        return length;
    },

    melkora_viewportWidth: function () {
        return document.documentElement.clientWidth;
    },
    melkora_viewportHeight: function () {
        return document.documentElement.clientHeight;
    },

    melkora_canOpenAddresses: function () {
        return typeof window.open === 'function' ? 1 : 0;
    },

    // A new browsing context that cannot reach back into this one. A blocked pop-up is the
    // browser's business, as a failed xdg-open is the desktop's.
    melkora_openAddress__deps: ['$melkora'],
    melkora_openAddress: function (address, length) {
        try {
            window.open(melkora.text(address, length), '_blank', 'noopener');
        } catch (error) {
        }
    },
});
