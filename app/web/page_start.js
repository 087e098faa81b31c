// Runs before the module, in its script, which the page loads with async so that neither its
// download nor its compilation holds up the page's first frame.
//
// The module attaches to the window in the page's markup, so main() waits until the page has
// been parsed, should the module be ready first.
Module['preRun'] = [() => {
    if (document.readyState === 'loading') {
        addRunDependency('page');
        document.addEventListener('DOMContentLoaded', () => removeRunDependency('page'));
    }
}];

// Until the module has started, Calculate (a click, Enter or Alt+C in the window) is held and
// runs once it has: a user who types while a slow connection brings the module loses nothing,
// and sees the results as soon as they can be had, with no box to close first. Where the module
// cannot start (no WebAssembly, as in Safari's Lockdown Mode; a download that failed or was cut
// short; a page opened from a file), the page says so where the window is, and Calculate says it
// again in the page's box. The window stays as it is, with whatever the user typed. The page
// holds the texts.
let pending = false;
let failed = false;
let unavailable = '';

const pressesCalculate = (event) => {
    if (event.type === 'click') {
        return event.target.id === 'cmdCalculate';
    }
    const enter = event.key === 'Enter' && !event.altKey && !event.ctrlKey && !event.shiftKey &&
                  !event.metaKey;
    const altC = event.altKey && !event.ctrlKey && event.code === 'KeyC';
    // The Enter that commits an input method's text is no press; Safari reports it with
    // isComposing false, and keyCode 229 as every engine does.
    return (enter || altC) && !event.isComposing && event.keyCode !== 229;
};

let focusAfterBox = null;
// The focus goes back the moment OK or Escape closes the box. The close event comes a task
// later, when the user may already have moved on; it only serves a box that the browser closed
// by itself, and gives the focus back once at most.
const giveBack = () => {
    document.getElementById('message').close();
    const control = focusAfterBox;
    focusAfterBox = null;
    if (control) {
        control.focus();
    }
};
const say = () => {
    const box = document.getElementById('message');
    if (!box.open) {
        focusAfterBox = document.activeElement;
        document.getElementById('message-text').textContent = unavailable;
        box.showModal();
        document.getElementById('message-ok').focus();
    }
};
const beforeStart = (event) => {
    if (!pressesCalculate(event) || !event.target.closest || !event.target.closest('#window')) {
        return;
    }
    event.preventDefault();
    event.stopImmediatePropagation();
    if (unavailable) {
        say();
    } else {
        pending = true;
    }
};
document.addEventListener('keydown', beforeStart, true);
document.addEventListener('click', beforeStart, true);

const cannotStart = () => {
    if (failed) {
        return; // the runtime's abort may follow a failure seen here
    }
    failed = true;
    const tell = () => {
        const notice = document.getElementById('unavailable');
        unavailable = typeof WebAssembly !== 'object' ? notice.dataset.noWebassembly
                    : location.protocol === 'file:' ? notice.dataset.fromFile
                    : notice.dataset.notLoaded;
        notice.textContent = unavailable;
        notice.hidden = false;
        const box = document.getElementById('message');
        document.getElementById('message-ok').addEventListener('click', giveBack);
        box.addEventListener('cancel', (event) => {
            event.preventDefault();
            giveBack();
        });
        box.addEventListener('close', () => box.open || giveBack());
        if (pending) {
            say();
        }
    };
    if (document.readyState === 'loading') {
        document.addEventListener('DOMContentLoaded', tell);
    } else {
        tell();
    }
};
Module['onAbort'] = cannotStart;

// The module is fetched here rather than by the runtime, which leaves a download that fails
// (a dropped connection, a page opened from a file) as an unhandled rejection and the page
// silent. Compiled as it arrives, or where a host sends it with another type, once it has.
Module['instantiateWasm'] = (imports, receive) => {
    fetch('melkora.wasm', {credentials: 'same-origin'})
        .then((response) => {
            if (!response.ok) {
                throw new Error(`melkora.wasm: ${response.status}`);
            }
            const copy = response.clone();
            return WebAssembly.instantiateStreaming(response, imports).catch(
                () => copy.arrayBuffer().then((bytes) => WebAssembly.instantiate(bytes, imports)));
        })
        .then((result) => receive(result.instance, result.module))
        .catch(cannotStart);
    return {};
};

// Once the module has started: a held Calculate runs where the user now is, and the service
// worker that keeps the page for offline visits registers, so that its downloads never compete
// with the module's. A page opened from a file, or a browser without service workers, simply
// goes without.
Module['postRun'] = [() => {
    document.removeEventListener('keydown', beforeStart, true);
    document.removeEventListener('click', beforeStart, true);
    if (pending) {
        pending = false;
        document.getElementById('cmdCalculate').click();
    }
    if ('serviceWorker' in navigator && window.isSecureContext) {
        // A page that a worker already serves hears when a new version's worker takes over, and
        // says so; the reload is the user's, who may be typing. A page kept open for days looks
        // for a new version whenever it is shown again.
        const served = Boolean(navigator.serviceWorker.controller);
        navigator.serviceWorker.addEventListener('controllerchange', () => {
            document.getElementById('updated').hidden = !served;
        });
        navigator.serviceWorker.register('service-worker.js').then((registration) => {
            document.addEventListener('visibilitychange', () => {
                if (document.visibilityState === 'visible') {
                    registration.update().catch(() => {});
                }
            });
        }).catch(() => {});
    }
}];
